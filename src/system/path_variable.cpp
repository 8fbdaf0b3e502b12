#include "system/path_variable.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "log/logger.h"
#include "system/registry_key.h"
#include "system/registry_values.h"
#include "text/case_fold.h"

namespace {

constexpr char kMachineEnvironment[] = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr char kUserEnvironment[] = "Environment";
constexpr char kPathValue[] = "Path";
// A window that takes longer than this over the notice is not waited for.
constexpr UINT kBroadcastTimeoutMs = 1000;

bool OpenEnvironment(bool all_users, RegistryKey& key) {
  return key.Open(all_users ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                  all_users ? kMachineEnvironment : kUserEnvironment, KEY_QUERY_VALUE | KEY_SET_VALUE);
}

enum class PathRead { kMissing, kText, kUnusable };

PathRead ReadPath(const RegistryKey& key, std::string& path) {
  DWORD type = 0;
  if (ReadWholeTextValue(key, kPathValue, path, type)) return PathRead::kText;
  return key.HasValue(kPathValue) ? PathRead::kUnusable : PathRead::kMissing;
}

// SMTO_ABORTIFHUNG: a hung window must not stall the setup.
void BroadcastEnvironmentChange() {
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG,
                      kBroadcastTimeoutMs, nullptr);
}

bool EntryEquals(const char* a, std::size_t a_length, const char* b, std::size_t b_length) {
  if (a_length != b_length) return false;
  for (std::size_t i = 0; i < a_length; ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// The byte range of an entry of the value.
struct PathEntry {
  bool found = false;
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The first entry that equals `folder` without regard to case.
PathEntry FindPathEntry(const std::string& path, const char* folder) {
  std::size_t folder_length = std::strlen(folder);
  if (folder_length == 0) return PathEntry{};
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find(';', begin);
    if (end == std::string::npos) end = path.size();
    if (EntryEquals(path.data() + begin, end - begin, folder, folder_length)) return PathEntry{true, begin, end};
    begin = end + 1;
  }
  return PathEntry{};
}

// The folder appended as the last entry; an empty value becomes the folder alone.
std::string PathWithFolder(const std::string& path, const char* folder) {
  std::string result = path;
  if (!result.empty() && result.back() != ';') result += ';';
  return result += folder;
}

// Without the entry, its following ";" and a ";" left at the end.
std::string PathWithoutEntry(const std::string& path, const PathEntry& entry) {
  std::string result = path;
  std::size_t end = entry.end < result.size() && result[entry.end] == ';' ? entry.end + 1 : entry.end;
  result.erase(entry.begin, end - entry.begin);
  if (!result.empty() && result.back() == ';') result.pop_back();
  return result;
}

}  // namespace

void AddProgramFolderToPath(const ProductRecord& record) {
  RegistryKey key;
  if (!OpenEnvironment(record.all_users, key)) return;
  const char* folder = record.program_folder.c_str();
  if (folder[0] == '\0') return;
  std::string path;
  PathRead read = ReadPath(key, path);
  if (read == PathRead::kText && FindPathEntry(path, folder).found) return;
  // A value that cannot be read whole is never replaced by the folder alone.
  bool written = read != PathRead::kUnusable &&
                 WriteTextValue(key, kPathValue, PathWithFolder(path, folder).c_str(), REG_EXPAND_SZ) == ERROR_SUCCESS;
  if (!written) {
    CurrentLogger().LogLine("Program directory NOT added to PATH");
    return;
  }
  BroadcastEnvironmentChange();
}

void RemoveProgramFolderFromPath(const ProductRecord& record) {
  RegistryKey key;
  if (!OpenEnvironment(record.all_users, key)) return;
  std::string path;
  if (ReadPath(key, path) != PathRead::kText) return;
  PathEntry entry = FindPathEntry(path, record.program_folder.c_str());
  if (!entry.found) return;
  std::string rest = PathWithoutEntry(path, entry);
  LONG result =
      rest.empty() ? DeleteValue(key, kPathValue) : WriteTextValue(key, kPathValue, rest.c_str(), REG_EXPAND_SZ);
  if (result != ERROR_SUCCESS) CurrentLogger().LogError("Program directory NOT removed in PATH");
  BroadcastEnvironmentChange();
}

void UpdatePath(const ProductRecord& package, const ProductRecord& installed) {
  if (package.add_to_path) AddProgramFolderToPath(package);
  if (!installed.add_to_path) return;
  bool unchanged = package.add_to_path && package.all_users == installed.all_users &&
                   EqualIgnoringCase(package.program_folder.c_str(), installed.program_folder.c_str());
  if (!unchanged) RemoveProgramFolderFromPath(installed);
}
