#include "fs/links.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include "fs/machine_calls.h"
#include "log/logger.h"

namespace {

// TrustedInstaller's service SID, the owner of the system's own files.
constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// Opens the entry itself, a link not followed, for its attributes and owner.
HANDLE OpenEntry(const char* path) {
  return CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool FileSystemIsLink(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsTrustedOwner(PSID owner) {
  if (IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid)) return true;
  PSID installer = nullptr;
  if (!ConvertStringSidToSidA(kTrustedInstaller, &installer)) return false;
  bool same = EqualSid(owner, installer) != 0;
  LocalFree(installer);
  return same;
}

bool FileSystemMadeByAdministrators(const char* path) {
  HANDLE entry = OpenEntry(path);
  if (entry == INVALID_HANDLE_VALUE) return false;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  bool trusted = GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                                 &descriptor) == ERROR_SUCCESS &&
                 owner != nullptr && IsTrustedOwner(owner);
  LocalFree(descriptor);
  CloseHandle(entry);
  return trusted;
}

constexpr LinkJudge kFileSystemJudge{FileSystemIsLink, FileSystemMadeByAdministrators};
const LinkJudge* judge_in_force = &kFileSystemJudge;

}  // namespace

void SetLinkJudge(const LinkJudge* judge) { judge_in_force = judge != nullptr ? judge : &kFileSystemJudge; }

bool IsLink(const char* path) { return judge_in_force->is_link(path); }

Text UntrustedLinkOn(const char* path) {
  Text part(path);
  char* chars = part.data();
  // The drive or share itself is no link the setup could refuse.
  std::size_t start = chars[0] != '\0' && chars[1] == ':' ? 2 : 0;
  if (chars[0] == '\\' && chars[1] == '\\') {
    for (int separators = 0; chars[start] != '\0' && separators < 4; ++start) {
      if (chars[start] == '\\') ++separators;
    }
  }
  for (std::size_t end = start;; ++end) {
    char c = chars[end];
    if (c != '\\' && c != '\0') continue;
    if (end > start && chars[end - 1] != '\\') {
      chars[end] = '\0';
      if (judge_in_force->is_link(chars) && !judge_in_force->made_by_administrators(chars)) return part;
      chars[end] = c;
    }
    if (c == '\0') return Text{};
  }
}

void RefuseUntrustedLinks(const char* path) {
  Text link = UntrustedLinkOn(path);
  if (!link.empty()) {
    LogErrorWith("Directory %s lies under a link that is not the administrators': %s", path, link.c_str());
  }
}

bool UnlinkIfLeadingElsewhere(const char* path) {
  HANDLE entry = OpenEntry(path);
  if (entry == INVALID_HANDLE_VALUE) return true;
  BY_HANDLE_FILE_INFORMATION information;
  bool elsewhere =
      GetFileInformationByHandle(entry, &information) &&
      ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || information.nNumberOfLinks > 1);
  CloseHandle(entry);
  elsewhere = elsewhere || judge_in_force->is_link(path);
  // Deleting a name removes that name alone: a link's target and the file's
  // other names keep their contents.
  return !elsewhere || Machine().delete_file(path) != 0;
}
