#include "system/program_folder_rights.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <string>

#include "fs/machine_calls.h"
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

bool ProtectProgramFolder(const char* folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kProgramFolderAccess, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return false;
  }
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  bool set = GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present &&
             Machine().set_named_security(const_cast<char*>(folder), SE_FILE_OBJECT,
                                          DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                          nullptr, dacl, nullptr) == ERROR_SUCCESS;
  LocalFree(descriptor);
  return set;
}
