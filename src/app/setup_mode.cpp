#include "app/setup_mode.h"

#include "fs/file_operations.h"
#include "log/logger.h"
#include "package/read_package.h"
#include "system/associations.h"
#include "system/locations.h"
#include "system/uninstall_registration.h"
#include "text/case_fold.h"

namespace {

bool SameLanguage(const VersionRecord& a, const VersionRecord& b) { return (a.language == 0) == (b.language == 0); }

bool SameVersion(const VersionRecord& a, const VersionRecord& b) {
  return SameLanguage(a, b) && a.major == b.major && a.minor == b.minor;
}

void CopyAssociationFlags(const ProductRecord& package, SetupView& view) {
  for (std::size_t i = 0; i < package.association_count; ++i) view.associations[i] = package.associations[i].create;
}

SetupView NotRegistered(SetupState& state) {
  ProductRecord& package = state.package;
  SetupView view;
  view.start_menu_shortcuts = true;
  view.desktop_shortcut = true;
  for (std::size_t i = 0; i < package.association_count; ++i) package.associations[i].create = true;
  view.program_folder = DefaultProgramFolder();
  if (package.has_data_folder) {
    view.data_folder = DefaultDataFolder(false);
  } else {
    view.data_folder_row = DataFolderRow::kRemoved;
  }
  return view;
}

// The mode of a registered product, filling the installed record from the
// setup copy where it can.
SetupView RegisteredMode(SetupState& state, const char* uninstall_command) {
  ProductRecord& package = state.package;
  ProductRecord& installed = state.installed;
  SetupView view;
  view.uninstall_enabled = true;
  if (SameFile(uninstall_command, state.package_path.c_str())) {
    // This run is the installed setup copy: the package is what is installed.
    view.mode = SetupMode::kRepair;
    installed.CopyPackageContents(package);
    DetectAssociations(installed, state.product_name.c_str());
    return view;
  }
  Text copy_name;
  if (!ReadPackageRecord(uninstall_command, installed, copy_name)) {
    // The reader's line stays in the log; without the copy nothing can be
    // compared, and a patch has nothing to patch.
    view.mode = SetupMode::kUpdate;
    view.uninstall_enabled = false;
    view.install_enabled = package.version.patch == 0;
    return view;
  }
  DetectAssociations(installed, state.product_name.c_str());
  LogVersionLine(installed.version, "Installed version: ");
  if (package.version.patch != 0) {
    view.mode = SetupMode::kPatch;
  } else {
    view.mode = SameVersion(package.version, installed.version) ? SetupMode::kRepair : SetupMode::kUpdate;
  }
  return view;
}

// What every registered case shows: the installation's folders and options.
void ShowInstalled(SetupState& state, SetupView& view) {
  ProductRecord& package = state.package;
  const ProductRecord& installed = state.installed;
  view.program_folder = installed.program_folder;
  view.start_menu_shortcuts = installed.start_menu_shortcuts;
  view.desktop_shortcut = installed.desktop_shortcut;
  view.all_users = installed.all_users;
  view.add_to_path = installed.add_to_path;

  for (std::size_t i = 0; i < package.association_count; ++i) {
    AssociationEntry& entry = package.associations[i];
    for (std::size_t j = 0; j < installed.association_count; ++j) {
      if (EqualIgnoringCase(entry.extension.c_str(), installed.associations[j].extension.c_str())) {
        entry.create = installed.associations[j].create;
        break;
      }
    }
  }

  if (package.has_data_folder) {
    view.data_folder = installed.data_folder.empty() ? DefaultDataFolder(installed.all_users) : installed.data_folder;
  } else if (!installed.data_folder.empty()) {
    view.data_folder = installed.data_folder;
    view.data_folder_row = DataFolderRow::kReadOnly;
  } else {
    view.data_folder_row = DataFolderRow::kRemoved;
  }
}

}  // namespace

const char* ModeCaption(SetupMode mode) {
  switch (mode) {
    case SetupMode::kInstall: return "Install";
    case SetupMode::kUpdate: return "Update";
    case SetupMode::kRepair: return "Repair";
    case SetupMode::kPatch: return "Patch";
  }
  return "Install";
}

SetupView DecideSetupMode(SetupState& state, bool registered, const char* uninstall_command) {
  SetupView view = registered ? RegisteredMode(state, uninstall_command) : NotRegistered(state);
  if (registered) ShowInstalled(state, view);
  CopyAssociationFlags(state.package, view);
  return view;
}

SetupView StartSetup(SetupState& state, const char* package_path, bool looks_only) {
  state.package_path.Assign(package_path);
  state.Reset();
  if (!ReadPackageRecord(package_path, state.package, state.product_name)) throw AbortError{};
  // A damaged file is refused before anything else: no mode, no status.
  if (!PackageIsWhole(package_path, state.package.SkinRecord().stream_offset)) {
    CurrentLogger().LogError("Invalid Tarnell software package.");
    throw AbortError{};  // also where no log is open yet
  }
  LogVersionLine(state.package.version, "Version of this package: ");
  state.uninstall_key_path = UninstallKeyPath(state.product_name.c_str());
  // Two runs of one product would interleave their changes: the run that
  // holds the product's lock reads the registration and changes the machine.
  if (!looks_only && !state.lock.Take(state.product_name.c_str())) {
    LogLineWith("Another setup of %s is running", state.product_name.c_str());
    throw AbortError{};
  }
  if (state.lock.Squatted()) {
    LogLineWith("The mutex that earlier setups of %s take is held by a program that no administrator started",
                state.product_name.c_str());
  }
  Text uninstall_command;
  bool registered = ReadInstalledRegistration(state.product_name.c_str(), state.installed, uninstall_command);
  return DecideSetupMode(state, registered, uninstall_command.c_str());
}
