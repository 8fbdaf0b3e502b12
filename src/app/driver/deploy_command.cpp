#include "app/driver/deploy_command.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "text/case_fold.h"

const char kDeployUsage[] =
    "usage: tarnell-deploy status SETUP.exe [--json]\n"
    "       tarnell-deploy install SETUP.exe [--program-folder DIR] [--data-folder DIR] [--[no-]all-users]\n"
    "                      [--[no-]start-menu] [--[no-]desktop] [--[no-]path] [--keep-data] [--[no-]assoc EXT]...\n"
    "       tarnell-deploy uninstall SETUP.exe [--keep-data]\n"
    "       tarnell-deploy uninstall --product NAME [--keep-data]\n"
    "Each also takes --log FILE (a copy of the run's log lines).\n"
    "Exit codes: 0 done, 1 aborted, 2 usage or refused, 3 package refused, 4 not administrator,\n"
    "5 another run of this product's setup is in progress.\n"
    "For tests: --print-record (the installed record), --memory (peak private bytes), --print-changes\n"
    "(the count of changes to the machine), --stop-after N (end dead before the change after the N-th),\n"
    "--fail-change N [--fail-with access-denied|disk-full].\n";

namespace {

struct Switch {
  const char* name;
  std::optional<bool> DeployCommand::*field;
};

constexpr Switch kSwitches[] = {
    {"all-users", &DeployCommand::all_users},
    {"start-menu", &DeployCommand::start_menu_shortcuts},
    {"desktop", &DeployCommand::desktop_shortcut},
    {"path", &DeployCommand::add_to_path},
};

bool ParseAction(const char* word, DeployAction& action) {
  if (std::strcmp(word, "status") == 0) {
    action = DeployAction::kStatus;
  } else if (std::strcmp(word, "install") == 0) {
    action = DeployAction::kInstall;
  } else if (std::strcmp(word, "uninstall") == 0) {
    action = DeployAction::kUninstall;
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

bool ParseDeployCommand(int argc, char** argv, DeployCommand& command, std::string& error) {
  if (argc < 2 || !ParseAction(argv[0], command.action)) {
    error = "a command (status, install, uninstall) and a setup are needed";
    return false;
  }
  int first_option = 2;
  if (command.action == DeployAction::kUninstall && std::strcmp(argv[1], "--product") == 0) {
    if (argc < 3 || argv[2][0] == '\0') {
      error = "--product needs the product's name";
      return false;
    }
    command.product_name = argv[2];
    first_option = 3;
  } else if (argv[1][0] == '-' || argv[1][0] == '\0') {
    error = "the setup comes after the command";
    return false;
  } else {
    command.setup_path = argv[1];
  }
  for (int i = first_option; i < argc; ++i) {
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
    } else if (std::strcmp(argument, "--keep-data") == 0 && command.action != DeployAction::kStatus) {
      command.keep_data = true;
      install_only = false;
    } else if (std::strcmp(argument, "--log") == 0 && value != nullptr) {
      command.log_copy = value;
      install_only = false;
      ++i;
    } else if (std::strcmp(argument, "--json") == 0 && command.action == DeployAction::kStatus) {
      command.json = true;
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
    if (install_only && command.action != DeployAction::kInstall) {
      error = std::string(argument) + " belongs to install";
      return false;
    }
  }
  return true;
}

bool ChooseAsTheWindowWould(const DeployCommand& command, const ProductRecord& package, const SetupView& view,
                            DeployChoices& out, std::string& error) {
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
