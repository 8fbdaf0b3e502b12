#include "app/driver/deploy_command.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "text/case_fold.h"

const char kDeployUsage[] =
    "usage: tarnell-deploy status (SETUP.exe | --product NAME) [--json]\n"
    "       tarnell-deploy install SETUP.exe [--program-folder DIR] [--data-folder DIR] [--[no-]all-users]\n"
    "                      [--[no-]start-menu] [--[no-]desktop] [--[no-]path] [--keep-data] [--[no-]assoc EXT]...\n"
    "                      [--allow-downgrade]\n"
    "       tarnell-deploy uninstall (SETUP.exe | --product NAME) [--keep-data]\n"
    "       tarnell-deploy --help | --version\n"
    "Install and uninstall also take --log FILE (a copy of the run's log lines) and --quiet (no log\n"
    "lines on standard output) or --verbose (every log line there, the default). Folders are full paths.\n"
    "status reads only: it needs no elevation and writes no log.\n"
    "Exit codes: 0 done, 1 aborted, 2 usage or refused, 3 package refused, 4 not administrator,\n"
    "5 another run of this product's setup is in progress.\n"
#ifdef TARNELL_DEPLOY_TESTING
    "For tests: --print-record (the installed record), --memory (peak private bytes), --print-changes\n"
    "(the count of changes to the machine), --stop-after N (end dead before the change after the N-th),\n"
    "--fail-change N [--fail-with access-denied|disk-full].\n"
#endif
    ;

const char kDeployVersion[] = "tarnell-deploy " TARNELL_VERSION;

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

bool Is(const char* argument, const char* name) { return std::strcmp(argument, name) == 0; }

bool ParseAction(const char* word, DeployAction& action) {
  if (Is(word, "status")) {
    action = DeployAction::kStatus;
  } else if (Is(word, "install")) {
    action = DeployAction::kInstall;
  } else if (Is(word, "uninstall")) {
    action = DeployAction::kUninstall;
  } else if (Is(word, "--help") || Is(word, "-h") || Is(word, "/?") || Is(word, "help")) {
    action = DeployAction::kHelp;
  } else if (Is(word, "--version")) {
    action = DeployAction::kVersion;
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

std::string WithoutDot(const char* extension) { return extension[0] == '.' ? extension + 1 : extension; }

// A folder as the registration will name it: with backslashes, and full
// ("C:\..." or "\\server\share..."), so that it means the same from
// wherever the product is later repaired or removed.
bool TakeFolder(const char* option, const char* value, std::optional<std::string>& out, std::string& error) {
  if (out) {
    error = std::string(option) + " is given twice";
    return false;
  }
  std::string folder = value;
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  bool drive = folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) != 0 && folder[1] == ':' &&
               folder[2] == '\\';
  bool share = folder.size() > 2 && folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\';
  if (!drive && !share) {
    error = std::string(option) + " needs a full path, such as C:\\Apps\\Product: " + value;
    return false;
  }
  out = folder;
  return true;
}

#ifdef TARNELL_DEPLOY_TESTING
bool ParseCount(const char* text, std::optional<unsigned>& out) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text, &end, 10);
  if (end == text || *end != '\0' || value == 0 || value > 1000000) return false;
  out = static_cast<unsigned>(value);
  return true;
}

// The options of the test build; true when `argument` (and `value`, moving
// `i` past it) was one.
bool ParseTestOption(const char* argument, const char* value, int& i, DeployCommand& command) {
  if (Is(argument, "--print-record")) {
    command.print_record = true;
  } else if (Is(argument, "--print-changes")) {
    command.print_changes = true;
  } else if (Is(argument, "--memory")) {
    command.print_memory = true;
  } else if (value != nullptr && ((Is(argument, "--stop-after") && ParseCount(value, command.stop_after)) ||
                                  (Is(argument, "--fail-change") && ParseCount(value, command.fail_change)))) {
    ++i;
  } else if (Is(argument, "--fail-with") && value != nullptr &&
             (Is(value, "access-denied") || Is(value, "disk-full"))) {
    command.fail_error = Is(value, "disk-full") ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED;
    ++i;
  } else {
    return false;
  }
  return true;
}
#endif

// Which commands take an option: install only, or also uninstall or status.
enum class Takers : std::uint8_t { kInstall, kChanges, kAll };

bool TakenBy(Takers takers, DeployAction action) {
  return takers == Takers::kAll || action == DeployAction::kInstall ||
         (takers == Takers::kChanges && action == DeployAction::kUninstall);
}

bool ParseOption(int& i, int argc, char** argv, DeployCommand& command, bool& verbose, std::string& error) {
  const char* argument = argv[i];
  const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
  bool on = false;
  Takers takers = Takers::kInstall;
  if (Is(argument, "--program-folder") && value != nullptr) {
    if (!TakeFolder(argument, value, command.program_folder, error)) return false;
    ++i;
  } else if (Is(argument, "--data-folder") && value != nullptr) {
    if (!TakeFolder(argument, value, command.data_folder, error)) return false;
    ++i;
  } else if (MatchSwitch(argument, "assoc", on) && value != nullptr) {
    command.associations.push_back({WithoutDot(value), on});
    ++i;
  } else if (Is(argument, "--allow-downgrade")) {
    command.allow_downgrade = true;
  } else if (Is(argument, "--keep-data")) {
    command.keep_data = true;
    takers = Takers::kChanges;
  } else if (Is(argument, "--log") && value != nullptr) {
    // status writes no log, so there is nothing to copy.
    if (command.log_copy) {
      error = "--log is given twice";
      return false;
    }
    command.log_copy = value;
    takers = Takers::kChanges;
    ++i;
  } else if (Is(argument, "--quiet") || Is(argument, "--verbose")) {
    bool quiet = Is(argument, "--quiet");
    if ((quiet && verbose) || (!quiet && command.quiet)) {
      error = "--quiet and --verbose contradict each other";
      return false;
    }
    command.quiet = quiet;
    verbose = !quiet;
    takers = Takers::kAll;
  } else if (Is(argument, "--json") && command.action == DeployAction::kStatus) {
    command.json = true;
    takers = Takers::kAll;
#ifdef TARNELL_DEPLOY_TESTING
  } else if (ParseTestOption(argument, value, i, command)) {
    takers = Takers::kAll;
#endif
  } else {
    const Switch* found = nullptr;
    for (const Switch& candidate : kSwitches) {
      if (MatchSwitch(argument, candidate.name, on)) found = &candidate;
    }
    if (found == nullptr) {
      error = std::string(argument[0] == '-' ? "unknown or incomplete option " : "unexpected argument ") + argument;
      return false;
    }
    command.*(found->field) = on;
  }
  if (!TakenBy(takers, command.action)) {
    error = std::string(argument) +
            (takers == Takers::kInstall ? " belongs to install" : " belongs to install and uninstall");
    return false;
  }
  return true;
}

}  // namespace

bool ParseDeployCommand(int argc, char** argv, DeployCommand& command, std::string& error) {
  if (argc < 1) {
    error = "a command (status, install, uninstall) and a setup are needed";
    return false;
  }
  if (!ParseAction(argv[0], command.action)) {
    error = std::string(argv[0][0] == '-' || argv[0][0] == '/' ? "unknown option " : "unknown command ") + argv[0] +
            ": the command (status, install, uninstall) comes first";
    return false;
  }
  if (command.action == DeployAction::kHelp || command.action == DeployAction::kVersion) return true;
  if (argc < 2) {
    error = std::string(argv[0]) + " needs a setup";
    return false;
  }
  int first_option = 2;
  if (command.action != DeployAction::kInstall && Is(argv[1], "--product")) {
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
  bool verbose = false;
  for (int i = first_option; i < argc; ++i) {
    if (!ParseOption(i, argc, argv, command, verbose, error)) return false;
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
