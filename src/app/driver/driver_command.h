// The test driver's command line: which setup, what to do, and the options
// a user would set in the setup window. Options left unset keep the values
// the window starts with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/setup_mode.h"
#include "app/setup_options.h"

enum class DriverAction { kMode, kInstall, kUninstall };

struct AssociationChoice {
  std::string extension;  // without its dot
  bool create;
};

struct DriverCommand {
  std::string setup_path;
  DriverAction action = DriverAction::kMode;
  std::optional<std::string> program_folder;
  std::optional<std::string> data_folder;
  std::optional<bool> all_users;
  std::optional<bool> start_menu_shortcuts;
  std::optional<bool> desktop_shortcut;
  std::optional<bool> add_to_path;
  bool keep_data = false;
  std::vector<AssociationChoice> associations;
  bool print_log = false;     // the run's log lines after the message
  bool print_record = false;  // the installed record after the sequence
  bool print_memory = false;  // the peak private bytes of the run
  bool print_changes = false;  // how many changes the run made to the machine
  // Crash points: the process ends dead before the change after the
  // `stop_after`-th; or the `fail_change`-th change fails with `fail_error`.
  std::optional<unsigned> stop_after;
  std::optional<unsigned> fail_change;
  unsigned long fail_error = 0;  // ERROR_ACCESS_DENIED when unset
  // For runs inside a test's process: at the stop, every later change is
  // refused instead, so the machine is left as a dead process leaves it.
  bool freeze_at_stop = false;
};

// Fills `command` from the arguments after the program name; false with
// `error` set for a command line that makes no sense.
bool ParseDriverCommand(int argc, char** argv, DriverCommand& command, std::string& error);

// The choices the window would hand to ReadOptions: what it shows at start,
// changed where the command says. The folder texts point into the command,
// the view or `data_folder`.
struct DriverChoices {
  SetupChoices choices;
  Text data_folder;  // the field after a swap of the default data folder
};
// False with `error` set for a change the window would not allow: a data
// folder where the field is disabled or missing, an unknown extension.
bool ChooseAsTheWindowWould(const DriverCommand& command, const ProductRecord& package, const SetupView& view,
                            DriverChoices& out, std::string& error);

extern const char kDriverUsage[];
