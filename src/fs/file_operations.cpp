#include "fs/file_operations.h"

#include <windows.h>

#include "fs/find_entries.h"
#include "fs/links.h"
#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "log/logger.h"
#include "text/fixed_text.h"
#include "text/path.h"

namespace {

// A path joined from a folder and a name; empty when it would not fit, so
// that the operation fails instead of acting on a cut path.
Text Joined(const char* folder, const char* name) {
  Text path;
  if (!PathJoin(path, folder, name)) path.Clear();
  return path;
}

bool IsFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& out) {
  KernelHandle file(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && GetFileInformationByHandle(file.Get(), &out);
}

// Drive roots answer "access denied"; so does a folder that is there but
// may not be created, and one that is not there and may not be created.
bool CreatedOrThere(const char* path) { return Machine().create_directory(path, nullptr) || IsFolder(path); }

bool CreateChain(const char* path) {
  Text part(path);
  for (char* p = part.data(); *p != '\0'; ++p) {
    if (*p != '\\') continue;
    *p = '\0';
    bool done = CreatedOrThere(part.c_str());
    *p = '\\';
    if (!done) return false;
  }
  return CreatedOrThere(part.c_str());
}

bool RemoveFolderLink(const char* path, bool log_success) {
  if (Machine().remove_directory(path) || Machine().delete_file(path)) {
    if (log_success) LogLineWith("Directory deleted: %s", path);
    return true;
  }
  LogLineWith("Directory NOT deleted: %s", path);
  return false;
}

}  // namespace

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool SameFile(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return FileIdentity(a, first) && FileIdentity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

bool CreateFolderChain(const char* path, bool log_success) {
  bool created = Machine().create_directory(path, nullptr) != 0;
  if (!created) {
    bool parent_missing = GetLastError() == ERROR_PATH_NOT_FOUND;
    // There already: a drive root answers "access denied", not "exists".
    if (!parent_missing && IsFolder(path)) return true;
    created = parent_missing && CreateChain(path);
  }
  if (!created) {
    LogLineWith("Directory NOT created: %s", path);
    return false;
  }
  if (log_success) LogLineWith("Directory created: %s", path);
  return true;
}

bool DeleteFolderTree(const char* path, bool log_success) {
  if (path[0] == '\0') return false;
  // A junction or symbolic link goes itself; what it points to is never
  // entered, or deleting a folder could empty C:\Windows.
  if (IsLink(path)) return RemoveFolderLink(path, log_success);
  // Held without sharing deletion, the folder cannot be renamed or swapped
  // for a link while its entries go; and it must be the folder named, not
  // one a link swapped in above it leads to.
  KernelHandle folder(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION information;
  if (folder && GetFileInformationByHandle(folder.Get(), &information) &&
      (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    folder.Reset();
    return RemoveFolderLink(path, log_success);
  }
  if (folder && !HandleIsAt(folder.Get(), path)) {
    LogLineWith("Directory NOT deleted: %s", path);
    return false;
  }
  FindEntries entries;
  for (bool more = entries.FirstInFolder(path) == FindEntries::kEntry; more; more = entries.Next()) {
    Text entry = Joined(path, entries.Name());
    bool removed = entries.IsFolder() ? DeleteFolderTree(entry.c_str(), false)
                                      : DeleteFileLogged(entry.c_str(), DeleteReport::kSilent);
    if (!removed) return false;
  }
  folder.Reset();
  Machine().set_file_attributes(path, FILE_ATTRIBUTE_NORMAL);
  if (Machine().remove_directory(path)) {
    if (log_success) LogLineWith("Directory deleted: %s", path);
    return true;
  }
  DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) LogLineWith("Directory NOT deleted: %s", path);
  return false;
}

bool DeleteFolderTree(const char* folder, const char* name, bool log_success) {
  return DeleteFolderTree(Joined(folder, name).c_str(), log_success);
}

bool DeleteFileLogged(const char* path, DeleteReport report) {
  // A link's attributes would be set on its target.
  if (!IsLink(path)) Machine().set_file_attributes(path, FILE_ATTRIBUTE_NORMAL);
  if (path[0] != '\0' && Machine().delete_file(path)) {
    if (report <= DeleteReport::kBoth) LogLineWith("File deleted: %s", path);
    return true;
  }
  DWORD error = GetLastError();
  if (path[0] != '\0' && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)) return true;
  if (report == DeleteReport::kBoth || report == DeleteReport::kFailure) LogLineWith("File NOT deleted: %s", path);
  return false;
}

bool DeleteFileLogged(const char* folder, const char* name, DeleteReport report) {
  return DeleteFileLogged(Joined(folder, name).c_str(), report);
}

bool RenameInFolder(const char* folder, const char* old_name, const char* new_name) {
  Text old_path = Joined(folder, old_name);
  Text new_path = Joined(folder, new_name);
  if (!old_path.empty() && !new_path.empty() && Machine().move_file(old_path.c_str(), new_path.c_str(), 0)) {
    LogLineWith("File renamed: %s ->-> %s", old_path.c_str(), new_name);
    return true;
  }
  LogLineWith("File NOT renamed: %s", old_path.empty() ? old_name : old_path.c_str());
  return false;
}
