#include "system/program_folder_rights.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "log/logger.h"
#include "text/case_fold.h"

namespace {

bool IsFolder(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool LiesUnder(const char* path, int csidl) {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return false;
  }
  std::size_t length = std::char_traits<char>::length(folder);
  if (length == 0 || !StartsWithIgnoringCase(path, folder)) return false;
  return path[length] == '\0' || path[length] == '\\';
}

}  // namespace

Text FirstMissingFolder(const char* path) {
  Text part(path);
  char* chars = part.data();
  // Past "C:\" or "\\server\share\": drives and shares are never made.
  std::size_t start = 0;
  if (chars[0] == '\\' && chars[1] == '\\') {
    for (int separators = 0; chars[start] != '\0' && separators < 4; ++start) {
      if (chars[start] == '\\') ++separators;
    }
  } else if (chars[0] != '\0' && chars[1] == ':') {
    start = chars[2] == '\\' ? 3 : 2;
  }
  for (std::size_t end = start;; ++end) {
    char c = chars[end];
    if (c != '\\' && c != '\0') continue;
    if (end > start) {
      chars[end] = '\0';
      if (!IsFolder(chars)) return part;
      chars[end] = c;
    }
    if (c == '\0') return Text{};
  }
}

bool LiesUnderProgramFiles(const char* path) {
  return LiesUnder(path, CSIDL_PROGRAM_FILES) || LiesUnder(path, CSIDL_PROGRAM_FILESX86);
}

void CreateProgramFolder(const char* path) {
  Text missing = FirstMissingFolder(path);
  bool outside = !LiesUnderProgramFiles(missing.empty() ? path : missing.c_str());
  if (missing.empty()) {
    if (outside && UsersMayWrite(path)) LogLineWith("Warning: users may write to the program directory %s", path);
    return;
  }
  LocalMemory descriptor;
  if (outside && !ConvertStringSecurityDescriptorToSecurityDescriptorA(
                     kProgramFolderAccess, SDDL_REVISION_1,
                     reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.Receive()), nullptr)) {
    LogErrorWith("Directory NOT created: %s", missing.c_str());
  }
  SECURITY_ATTRIBUTES security{sizeof security, descriptor.Get(), FALSE};
  // From the first missing folder down: each one is new, or someone else
  // made it in between, with rights of their choosing.
  Text part(path);
  char* chars = part.data();
  for (std::size_t end = missing.size();; ++end) {
    char c = chars[end];
    if (c != '\\' && c != '\0') continue;
    if (chars[end - 1] != '\\') {
      chars[end] = '\0';
      if (!Machine().create_directory(chars, &security)) LogErrorWith("Directory NOT created: %s", chars);
      chars[end] = c;
    }
    if (c == '\0') return;
  }
}

bool UsersMayWrite(const char* folder) {
  LocalMemory descriptor;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoA(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.Receive())) != ERROR_SUCCESS) {
    return false;
  }
  // No DACL at all lets everyone do everything.
  if (dacl == nullptr) return true;
  constexpr ACCESS_MASK kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                   FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                   GENERIC_ALL;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    auto* who = static_cast<PSID>(&ace->SidStart);
    bool users = IsWellKnownSid(who, WinBuiltinUsersSid) || IsWellKnownSid(who, WinAuthenticatedUserSid) ||
                 IsWellKnownSid(who, WinWorldSid) || IsWellKnownSid(who, WinInteractiveSid);
    if (users && (ace->Mask & kWriting) != 0) return true;
  }
  return false;
}
