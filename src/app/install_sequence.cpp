#include "app/install_sequence.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/install_files.h"
#include "app/uninstall_sequence.h"
#include "fs/file_operations.h"
#include "fs/links.h"
#include "fs/machine_calls.h"
#include "handles/com_ptr.h"
#include "inflate/inflate_state.h"
#include "log/logger.h"
#include "package/read_package.h"
#include "package/setup_copy.h"
#include "system/associations.h"
#include "system/locations.h"
#include "system/path_variable.h"
#include "system/program_folder_rights.h"
#include "system/shortcuts.h"
#include "system/uninstall_registration.h"

namespace {

// The copy keeps the running setup's bytes with the patch flag cleared; the
// package record takes the cleared flag too.
void WriteCopyOfRunningSetup(SetupState& state, const char* copy_path) {
  PackageDirectory directory;
  directory.header_offset = state.package.header_offset;
  directory.version = state.package.version;
  std::uint64_t size = WriteSetupCopy(state.package_stream, directory, copy_path);
  state.package.version = directory.version;
  state.estimated_size = size > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(size);
}

// The shortcut folders are resolved by then: each folder is checked as it
// will be written to.
void CreateFolders(const ProductRecord& package, const ProductRecord& installed) {
  if (package.program_folder.empty()) CurrentLogger().LogError("Empty program directory");
  RefuseLinksOnFolders(package);
  RefuseLinksOnFolders(installed);
  CreateProgramFolder(package.program_folder.c_str());
  if (!package.has_data_folder) return;
  if (package.data_folder.empty()) CurrentLogger().LogError("Empty data directory");
  if (!CreateFolderChain(package.data_folder.c_str(), false)) throw AbortError{};
}

}  // namespace

bool RunInstall(SetupState& state, const char* package_path) {
  ComScope com;
  ProductRecord& package = state.package;
  ProductRecord& installed = state.installed;
  const char* product_name = state.product_name.c_str();
  installed.start_menu_folder_made = false;
  state.estimated_size = 0;
  const char* message = "The installation aborted.";
  bool result = false;
  std::unique_ptr<InflateState> decoder;
  std::vector<Text> stopped_services;
  try {
    state.package_stream.CreateOverFile(package_path);
    // A damaged payload is refused before anything is written.
    if (!PackageSumHolds(state.package_stream, package.Record(1).stream_offset)) {
      CurrentLogger().LogError("Invalid Tarnell software package.");
    }
    decoder = std::make_unique<InflateState>(&state.package_stream);
    ShortcutRun run{package, installed, product_name, package_path};
    StopReplacedServices(run, stopped_services);
    ResolveShortcutFolders(package);
    ResolveShortcutFolders(installed);
    CreateFolders(package, installed);

    AssociationOwner owner{product_name, state.uninstall_key_path.c_str()};
    RemoveDroppedAssociations(owner, installed, package);
    ExtractionContext extraction{state.package_stream, *decoder, package.program_folder.c_str(),
                                 package.data_folder.c_str(), package.keep_data};
    Text old_data_folder = installed.data_folder;
    InstallFiles(run, extraction);
    RemoveEmptyFolderAndParents(old_data_folder.c_str());

    Text setup_copy;
    if (PlanSetupCopy(run, setup_copy)) WriteCopyOfRunningSetup(state, setup_copy.c_str());
    InstallSetupShortcut(run, setup_copy.c_str());
    if (!installed.start_menu_folder.empty()) Machine().remove_directory(installed.start_menu_folder.c_str());
    installed.desktop_shortcut = package.desktop_shortcut;
    installed.start_menu_shortcuts = package.start_menu_shortcuts;
    installed.data_folder = package.data_folder;
    state.package_stream.Close();
    decoder.reset();

    RegisterProduct(package, product_name, setup_copy.c_str(), state.estimated_size);
    UpdatePath(package, installed);
    installed.add_to_path = package.add_to_path;
    installed.all_users = package.all_users;
    RemoveEmptyFolderAndParents(installed.program_folder.c_str());
    installed.program_folder = package.program_folder;

    UpdateAssociations(owner, installed, package);
    message = "The installation was successful";
    result = true;
  } catch (...) {
    // Nothing is undone: the installed record says what is on the machine.
    state.package_stream.Close();
    decoder.reset();
  }
  // Also after an abort: the files they run are whole, old or new.
  RestartServices(stopped_services);
  CurrentLogger().ShowMessage(message);
  return result;
}
