#include "system/locations.h"

#include <windows.h>
#include <shlobj.h>

#include "fs/machine_calls.h"
#include "system/registry_key.h"
#include "text/path.h"
#include "text/text.h"

namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr char kPublisherFolder[] = "Tarnell";
// STANDARD_RIGHTS_REQUIRED | KEY_QUERY_VALUE: reading is all these folders need.
constexpr REGSAM kShellFoldersAccess = STANDARD_RIGHTS_REQUIRED | KEY_QUERY_VALUE;

struct ShellFolder {
  const char* common_value;
  int common_csidl;
  const char* user_value;
  int user_csidl;
};

constexpr ShellFolder kAppData{"Common AppData", CSIDL_COMMON_APPDATA, "AppData", CSIDL_APPDATA};
constexpr ShellFolder kPrograms{"Common Programs", CSIDL_COMMON_PROGRAMS, "Programs", CSIDL_PROGRAMS};
constexpr ShellFolder kDesktop{"Common Desktop", CSIDL_COMMON_DESKTOPDIRECTORY, "Desktop", CSIDL_DESKTOPDIRECTORY};

// Expands environment variables; false when the result would not fit.
bool Expand(const char* text, Text& out) {
  Text expanded;
  DWORD length = ExpandEnvironmentStringsA(text, expanded.data(), Text::kMaxLength + 1);
  if (length == 0 || length > Text::kMaxLength + 1) return false;
  out = expanded;
  return true;
}

bool AskShell(int csidl, Text& out) {
  char path[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return false;
  }
  out.Assign(path);
  return true;
}

// The shell first: the values hold %ProgramData% and %PUBLIC%, which the
// elevating user's own environment (HKCU\Environment) can point at a folder
// of theirs; expanded only where the shell has no answer.
bool FindShellFolder(const ShellFolder& folder, bool all_users, Text& out) {
  if (AskShell(all_users ? folder.common_csidl : folder.user_csidl, out) && !out.empty()) return true;
  RegistryKey key;
  Text raw;
  return key.Open(all_users ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, kShellFoldersAccess) &&
         key.ReadText(all_users ? folder.common_value : folder.user_value, raw) && Expand(raw.c_str(), out) &&
         !out.empty();
}

}  // namespace

Text DefaultProgramFolder() {
  Text folder;
  // The shell first: the elevating user's own environment can point
  // %ProgramFiles% at a folder of theirs. Without the variable the text
  // would come back unexpanded.
  if (!AskShell(CSIDL_PROGRAM_FILES, folder) || folder.empty()) {
    if (!Expand("%ProgramFiles%", folder) || folder.c_str()[0] == '%') return Text{};
  }
  if (!PathJoin(folder, folder.c_str(), kPublisherFolder)) return Text{};
  return folder;
}

Text DefaultDataFolder(bool all_users) {
  Text folder;
  if (!FindShellFolder(kAppData, all_users, folder)) return Text{};
  // A cut path would be another folder.
  if (!folder.Append("\\") || !folder.Append(kPublisherFolder)) return Text{};
  return folder;
}

void ResolveShortcutFolders(ProductRecord& record) {
  Text folder;
  if (FindShellFolder(kPrograms, record.all_users, folder) && PathJoin(folder, folder.c_str(), kPublisherFolder)) {
    record.start_menu_folder = folder;
  }
  if (FindShellFolder(kDesktop, record.all_users, folder)) record.desktop_folder = folder;
}

bool SetupCopyPath(const ProductRecord& record, const char* product_name, Text& out) {
  Text name(product_name);
  return name.Append("_Setup.exe") && PathJoin(out, record.program_folder.c_str(), name.c_str());
}

void RemoveEmptyParents(const char* path) {
  Text folder(path);
  char* chars = folder.data();
  std::size_t length = folder.size();
  if (length > 0 && chars[length - 1] == '\\') chars[--length] = '\0';
  for (std::size_t end = length; end > 0; --end) {
    if (chars[end] != '\\') continue;
    chars[end] = '\0';
    // "C:" alone names the current folder of drive C, not an ancestor.
    bool is_drive = chars[end - 1] == ':';
    if (is_drive || !Machine().remove_directory(chars)) return;
  }
}
