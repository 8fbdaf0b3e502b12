#include "app/uninstall_sequence.h"

#include <windows.h>

#include "fs/file_operations.h"
#include "fs/links.h"
#include "fs/machine_calls.h"
#include "log/logger.h"
#include "system/associations.h"
#include "system/locations.h"
#include "system/path_variable.h"
#include "system/services.h"
#include "system/shortcuts.h"
#include "system/uninstall_registration.h"

void RefuseLinksOnFolders(const ProductRecord& record) {
  RefuseUntrustedLinks(record.program_folder.c_str());
  if (record.has_data_folder) RefuseUntrustedLinks(record.data_folder.c_str());
  if (record.start_menu_shortcuts) RefuseUntrustedLinks(record.start_menu_folder.c_str());
  if (record.desktop_shortcut) RefuseUntrustedLinks(record.desktop_folder.c_str());
}

void RemoveEmptyFolderAndParents(const char* folder) {
  if (folder[0] != '\0' && Machine().remove_directory(folder)) RemoveEmptyParents(folder);
}

void RemoveFileService(const ProductRecord& record, const FileRecord& file) {
  RemoveProgramService(record, ServiceNameOf(file.name.c_str()).c_str(), ServiceImagePath(record, file).c_str());
}

void RemoveInstalledFile(const ProductRecord& record, const FileRecord& file, bool keep_data) {
  if (file.shortcut_kind > 0) RemoveFileShortcuts(record, file);
  if (file.service != 0) RemoveFileService(record, file);
  bool data = file.destination != static_cast<std::uint8_t>(Destination::kProgramFolder);
  if (data && keep_data) return;
  // Without its folder the name would address the current folder.
  const char* folder = data ? record.data_folder.c_str() : record.program_folder.c_str();
  if (folder[0] == '\0') return;
  if (!DeleteFileLogged(folder, file.name.c_str(), DeleteReport::kFailure)) throw AbortError{};
}

bool RunUninstall(SetupState& state, bool keep_data) {
  ProductRecord& installed = state.installed;
  const char* product_name = state.product_name.c_str();
  const char* message = "The Deinstallation aborted.";
  bool result = false;
  try {
    ResolveShortcutFolders(installed);
    // Nothing is deleted through a user's link: the registration stays for
    // a later run once it is gone.
    RefuseLinksOnFolders(installed);
    for (; installed.file_count > 1; --installed.file_count) {
      FileRecord& file = installed.Record(installed.file_count);
      RemoveInstalledFile(installed, file, keep_data);
      file = FileRecord{};
    }
    // The running setup copy cannot delete itself: the batch does it once
    // the process has ended.
    if (RemoveSetupCopy(installed, product_name, state.package_path.c_str()))
      state.package.uninstall_batch_pending = true;
    if (!installed.start_menu_folder.empty()) Machine().remove_directory(installed.start_menu_folder.c_str());
    RemoveEmptyFolderAndParents(installed.data_folder.c_str());
    installed.data_folder.Clear();

    RemoveAllAssociations(AssociationOwner{product_name, state.uninstall_key_path.c_str()}, installed);
    if (installed.add_to_path) RemoveProgramFolderFromPath(installed);
    installed.add_to_path = false;
    RemoveEmptyFolderAndParents(installed.program_folder.c_str());
    installed.program_folder.Clear();

    UnregisterProduct(product_name);
    message = "The Deinstallation was successful.";
    result = true;
  } catch (...) {
    // Nothing is undone: the record lists what is still there.
  }
  CurrentLogger().ShowMessage(message);
  return result;
}
