// tarnell-deploy's command line: the command, the setup it works on, and the
// options a user would set in the setup window. Options left unset keep the
// values the window starts with.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/setup_mode.h"
#include "app/setup_options.h"

enum class DeployAction { kStatus, kInstall, kUninstall, kHelp, kVersion };

struct AssociationChoice {
  std::string extension;  // without its dot
  bool create;
};

struct DeployCommand {
  DeployAction action = DeployAction::kStatus;
  std::string setup_path;    // empty when the product is named instead
  std::string product_name;  // status or uninstall --product NAME
  std::optional<std::string> program_folder;
  std::optional<std::string> data_folder;
  std::optional<bool> all_users;
  std::optional<bool> start_menu_shortcuts;
  std::optional<bool> desktop_shortcut;
  std::optional<bool> add_to_path;
  bool keep_data = false;
  bool allow_downgrade = false;  // install an older version over a newer one
  bool quiet = false;            // no log lines on standard output
  std::vector<AssociationChoice> associations;
  bool json = false;                    // status as one JSON object
  std::optional<std::string> log_copy;  // --log FILE
  // The options below are read from the command line only by the test
  // build of the tool (tarnell-deploy-testing); runs in a test's process set
  // them directly.
  bool print_record = false;   // the installed record after the sequence (tests)
  bool print_memory = false;   // the peak private bytes of the run (benchmarks)
  bool print_changes = false;  // how many changes the run made to the machine (tests)
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
// `error` set for a command line that makes no sense. Folders are made
// full paths with backslashes, or refused.
bool ParseDeployCommand(int argc, char** argv, DeployCommand& command, std::string& error);

// The choices the window would hand to ReadOptions: what it shows at start,
// changed where the command says. The folder texts point into the command,
// the view or `data_folder`.
struct DeployChoices {
  SetupChoices choices;
  Text data_folder;  // the field after a swap of the default data folder
};
// False with `error` set for a change the window would not allow: a data
// folder where the field is disabled or missing, an unknown extension.
bool ChooseAsTheWindowWould(const DeployCommand& command, const ProductRecord& package, const SetupView& view,
                            DeployChoices& out, std::string& error);

extern const char kDeployUsage[];
// "tarnell-deploy VERSION".
extern const char kDeployVersion[];
