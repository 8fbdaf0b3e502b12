#include "app/driver/driver_command.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "text/case_fold.h"

const char kDriverUsage[] =
    "usage: setup-driver SETUP.exe mode\n"
    "       setup-driver SETUP.exe install [--program-folder DIR] [--data-folder DIR] [--[no-]all-users]\n"
    "                    [--[no-]start-menu] [--[no-]desktop] [--[no-]path] [--keep-data] [--[no-]assoc EXT]...\n"
    "       setup-driver SETUP.exe uninstall [--keep-data]\n"
    "Each also takes --print-log (the run's log lines), --print-record (the installed record\n"
    "after the sequence) and --memory (peak private bytes).\n"
    "Changes to the machine: --print-changes (their count), --stop-after N (end the process dead\n"
    "before the change after the N-th), --fail-change N [--fail-with access-denied|disk-full].\n";

namespace {

struct Switch {
  const char* name;
  std::optional<bool> DriverCommand::*field;
};

constexpr Switch kSwitches[] = {
    {"all-users", &DriverCommand::all_users},
    {"start-menu", &DriverCommand::start_menu_shortcuts},
    {"desktop", &DriverCommand::desktop_shortcut},
    {"path", &DriverCommand::add_to_path},
};

bool ParseAction(const char* word, DriverAction& action) {
  if (std::strcmp(word, "mode") == 0) {
    action = DriverAction::kMode;
  } else if (std::strcmp(word, "install") == 0) {
    action = DriverAction::kInstall;
  } else if (std::strcmp(word, "uninstall") == 0) {
    action = DriverAction::kUninstall;
  } else {
    return false;
  }
  return true;
}

// "--name" gives true, "--no-name" false.
bool MatchSwitch(const char* argument, const char* name, bool& value) {
  if (std::strncmp(argument, "--", 2) != 0) return false;
  const char* rest = argument + 2;
  value = std::strncmp(rest, "no-", 3) != 0;
  if (!value) rest += 3;
  return std::strcmp(rest, name) == 0;
}

bool ParseCount(const char* text, std::optional<unsigned>& out) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || value == 0 || value > 1000000) return false;
  out = static_cast<unsigned>(value);
  return true;
}

std::string WithoutDot(const char* extension) { return extension[0] == '.' ? extension + 1 : extension; }

}  // namespace

bool ParseDriverCommand(int argc, char** argv, DriverCommand& command, std::string& error) {
  if (argc < 2 || !ParseAction(argv[1], command.action)) {
    error = "a setup and an action (mode, install, uninstall) are needed";
    return false;
  }
  command.setup_path = argv[0];
  for (int i = 2; i < argc; ++i) {
    const char* argument = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    bool on = false;
    bool install_only = true;
    if (std::strcmp(argument, "--program-folder") == 0 && value != nullptr) {
      command.program_folder = value;
      ++i;
    } else if (std::strcmp(argument, "--data-folder") == 0 && value != nullptr) {
      command.data_folder = value;
      ++i;
    } else if (MatchSwitch(argument, "assoc", on) && value != nullptr) {
      command.associations.push_back({WithoutDot(value), on});
      ++i;
    } else if (std::strcmp(argument, "--keep-data") == 0) {
      command.keep_data = true;
      install_only = false;
    } else if (std::strcmp(argument, "--print-log") == 0) {
      command.print_log = true;
      install_only = false;
    } else if (std::strcmp(argument, "--print-record") == 0) {
      command.print_record = true;
      install_only = false;
    } else if (std::strcmp(argument, "--print-changes") == 0) {
      command.print_changes = true;
      install_only = false;
    } else if (std::strcmp(argument, "--stop-after") == 0 && value != nullptr &&
               ParseCount(value, command.stop_after)) {
      install_only = false;
      ++i;
    } else if (std::strcmp(argument, "--fail-change") == 0 && value != nullptr &&
               ParseCount(value, command.fail_change)) {
      install_only = false;
      ++i;
    } else if (std::strcmp(argument, "--fail-with") == 0 && value != nullptr &&
               (std::strcmp(value, "access-denied") == 0 || std::strcmp(value, "disk-full") == 0)) {
      command.fail_error = std::strcmp(value, "disk-full") == 0 ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED;
      install_only = false;
      ++i;
    } else if (std::strcmp(argument, "--memory") == 0) {
      command.print_memory = true;
      install_only = false;
    } else {
      const Switch* found = nullptr;
      for (const Switch& candidate : kSwitches) {
        if (MatchSwitch(argument, candidate.name, on)) found = &candidate;
      }
      if (found == nullptr) {
        error = std::string("unknown or incomplete option ") + argument;
        return false;
      }
      command.*(found->field) = on;
    }
    if (install_only && command.action != DriverAction::kInstall) {
      error = std::string(argument) + " belongs to install";
      return false;
    }
  }
  return true;
}

bool ChooseAsTheWindowWould(const DriverCommand& command, const ProductRecord& package, const SetupView& view,
                            DriverChoices& out, std::string& error) {
  SetupChoices& choices = out.choices;
  choices.all_users = command.all_users.value_or(view.all_users);
  choices.start_menu_shortcuts = command.start_menu_shortcuts.value_or(view.start_menu_shortcuts);
  choices.desktop_shortcut = command.desktop_shortcut.value_or(view.desktop_shortcut);
  choices.add_to_path = command.add_to_path.value_or(view.add_to_path);
  choices.keep_data = command.keep_data;
  for (std::size_t i = 0; i < kMaxAssociations; ++i) choices.associations[i] = view.associations[i];

  choices.program_folder = command.program_folder ? command.program_folder->c_str() : view.program_folder.c_str();
  out.data_folder = view.data_folder;
  choices.data_folder = out.data_folder.c_str();
  if (command.data_folder) {
    if (view.data_folder_row != DataFolderRow::kShown) {
      error = "the data folder cannot be changed for this package";
      return false;
    }
    choices.data_folder = command.data_folder->c_str();
  } else if (choices.all_users != view.all_users) {
    // Ticking "For all user on this machine" swaps a default data folder.
    SwapDefaultDataFolder(choices.all_users, out.data_folder);
  }

  for (const AssociationChoice& wanted : command.associations) {
    std::size_t i = 0;
    while (i < package.association_count &&
           !EqualIgnoringCase(package.associations[i].extension.c_str(), wanted.extension.c_str())) {
      ++i;
    }
    if (i == package.association_count) {
      error = "the package has no association for ." + wanted.extension;
      return false;
    }
    choices.associations[i] = wanted.create;
  }
  return true;
}
