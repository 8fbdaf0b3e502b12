#include "app/install_sequence.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
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
#include "package/setup_copy.h"
#include "system/associations.h"
#include "system/locations.h"
#include "system/path_variable.h"
#include "system/program_folder_rights.h"
#include "system/shortcuts.h"
#include "system/uninstall_registration.h"
#include "text/number.h"

namespace {

// The copy keeps the running setup's bytes with the patch flag cleared; the
// package record takes the cleared flag too.
void WriteCopyOfRunningSetup(SetupState& state, const char* copy_path) {
  PackageDirectory directory;
  directory.header_offset = state.package.header_offset;
  directory.version = state.package.version;
  directory.files.Add(state.package.SkinRecord());
  std::uint64_t size = WriteSetupCopy(state.package_stream, directory, copy_path);
  state.package.version = directory.version;
  state.estimated_size = size > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(size);
}

// A product path the system cannot open is found before anything is
// written, not as a failure halfway: a file's path must stay below MAX_PATH
// characters, its folder's below the 248 that CreateDirectory takes.
void RefuseTooLongPaths(const ProductRecord& package) {
  const FileRecord* longest = nullptr;
  std::size_t longest_length = 0;
  bool too_long = false;
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    const Text& folder = record.destination == 0 ? package.program_folder : package.data_folder;
    std::size_t length = folder.size() + 1 + std::strlen(record.name);
    const char* last_separator = std::strrchr(record.name, '\\');
    std::size_t folder_length = folder.size() + (last_separator != nullptr ? 1 + (last_separator - record.name) : 0);
    too_long = too_long || length >= MAX_PATH || folder_length >= MAX_PATH - 12;
    if (length > longest_length) {
      longest = &record;
      longest_length = length;
    }
  }
  if (!too_long) return;
  Text path(longest->destination == 0 ? package.program_folder.c_str() : package.data_folder.c_str());
  path.Append("\\");
  path.Append(longest->name);
  Text length;
  UnsignedToText(length, static_cast<std::uint32_t>(longest_length), false);
  LogErrorWith("The path %s is too long for Windows (%s characters)", path.c_str(), length.c_str());
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
    // The copy in the program folder of a large product carries no files.
    if (package.without_streams) {
      LogErrorWith("The setup program of %s is needed for a repair: this copy carries no product files", product_name);
    }
    RefuseTooLongPaths(package);
    // The file was found whole at start (StartSetup), and is held since.
    state.package_stream.CreateOverFile(package_path);
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
