#include "fs/links.h"

#include <windows.h>

#include "fs/machine_calls.h"
#include "fs/object_owner.h"
#include "handles/owned_handle.h"
#include "log/logger.h"
#include "text/case_fold.h"
#include "text/text.h"

namespace {

// TrustedInstaller's service SID, the owner of the system's own files:
// S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464, laid out
// as a SID with its six sub-authorities, so that comparing allocates nothing.
struct ServiceSid {
  BYTE revision;
  BYTE sub_authority_count;
  SID_IDENTIFIER_AUTHORITY authority;
  DWORD sub_authorities[6];
};
constexpr ServiceSid kTrustedInstaller{
    SID_REVISION,
    6,
    SECURITY_NT_AUTHORITY,
    {SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1853292631, 2271478464}};

// Opens a file or folder for its attributes and owner; with
// FILE_FLAG_OPEN_REPARSE_POINT the entry itself, a link not followed.
HANDLE OpenEntry(const char* path, DWORD flags) {
  return CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, flags | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool FileSystemIsLink(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The link entry and the folder it leads to: a user who may write to an
// empty folder of the administrators can turn it into a junction whose
// entry keeps its owner, but not the folder it then leads to.
bool FileSystemMadeByAdministrators(const char* path) {
  KernelHandle entry(OpenEntry(path, FILE_FLAG_OPEN_REPARSE_POINT));
  KernelHandle target(OpenEntry(path, 0));
  auto* installer = const_cast<ServiceSid*>(&kTrustedInstaller);
  return entry && target && OwnedByAdministrators(entry.Get(), SE_FILE_OBJECT, installer) &&
         OwnedByAdministrators(target.Get(), SE_FILE_OBJECT, installer);
}

constexpr LinkJudge kFileSystemJudge{FileSystemIsLink, FileSystemMadeByAdministrators};
const LinkJudge* judge_in_force = &kFileSystemJudge;

}  // namespace

void SetLinkJudge(const LinkJudge* judge) { judge_in_force = judge != nullptr ? judge : &kFileSystemJudge; }

bool IsLink(const char* path) { return judge_in_force->is_link(path); }

namespace {

// The folders of `path` from the drive down: the first link that is not the
// administrators' (empty when there is none), and whether any link is on
// the way.
struct LinkSurvey {
  Text untrusted;
  bool any = false;
};

LinkSurvey SurveyLinks(const char* path) {
  LinkSurvey survey;
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
      if (judge_in_force->is_link(chars)) {
        survey.any = true;
        if (!judge_in_force->made_by_administrators(chars)) {
          survey.untrusted = part;
          return survey;
        }
      }
      chars[end] = c;
    }
    if (c == '\0') return survey;
  }
}

// The path the system knows the open file by, without "\\?\" ("\\?\UNC\"
// becomes "\\"); empty when it does not fit.
Text FinalPath(HANDLE handle) {
  Text path;
  DWORD length = GetFinalPathNameByHandleA(handle, path.data(), Text::kMaxLength + 1, 0);
  if (length == 0 || length > Text::kMaxLength) return Text{};
  const char* chars = path.c_str();
  if (StartsWithIgnoringCase(chars, "\\\\?\\UNC\\")) {
    path.data()[6] = '\\';
    return Text(chars + 6);
  }
  return Text(StartsWith(chars, "\\\\?\\") ? chars + 4 : chars);
}

}  // namespace

Text UntrustedLinkOn(const char* path) { return SurveyLinks(path).untrusted; }

bool HandleIsAt(HANDLE handle, const char* path) {
  Text final = FinalPath(handle);
  auto names_final = [&final](const char* candidate) {
    Text expected(candidate);
    std::size_t size = expected.size();
    if (size > 3 && expected.c_str()[size - 1] == '\\') expected.data()[size - 1] = '\0';
    return !final.empty() && EqualIgnoringCase(final.c_str(), expected.c_str());
  };
  // Short names in the path are spelt out only when the path as given is not
  // the final one: that reads every folder on the way, for each file written.
  if (names_final(path)) return true;
  Text expected;
  DWORD length = GetLongPathNameA(path, expected.data(), Text::kMaxLength + 1);
  if (length == 0 || length > Text::kMaxLength) expected.Assign(path);
  if (names_final(expected.c_str())) return true;
  // A link of the administrators on the way (a relocated profile) leads
  // elsewhere by design: the name must still lead where the handle is. A
  // user cannot make such a link, so one swapped in since the check, or
  // swapped back out, is caught above or here.
  LinkSurvey survey = SurveyLinks(path);
  if (final.empty() || !survey.any || !survey.untrusted.empty()) return false;
  KernelHandle again(OpenEntry(path, FILE_FLAG_OPEN_REPARSE_POINT));
  return again && EqualIgnoringCase(FinalPath(again.Get()).c_str(), final.c_str());
}

void RefuseUntrustedLinks(const char* path) {
  Text link = UntrustedLinkOn(path);
  if (!link.empty()) {
    LogErrorWith("Directory %s lies under a link that is not the administrators': %s", path, link.c_str());
  }
}

bool UnlinkIfLeadingElsewhere(const char* path) {
  bool elsewhere;
  // The entry is closed before the deletion, which completes only once no
  // handle is open.
  {
    KernelHandle entry(OpenEntry(path, FILE_FLAG_OPEN_REPARSE_POINT));
    if (!entry) return true;
    BY_HANDLE_FILE_INFORMATION information;
    elsewhere = GetFileInformationByHandle(entry.Get(), &information) &&
                ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || information.nNumberOfLinks > 1);
  }
  elsewhere = elsewhere || judge_in_force->is_link(path);
  // Deleting a name removes that name alone: a link's target and the file's
  // other names keep their contents.
  return !elsewhere || Machine().delete_file(path) != 0;
}
