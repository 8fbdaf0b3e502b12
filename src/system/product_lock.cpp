#include "system/product_lock.h"

#include <windows.h>

#include <sddl.h>

#include <utility>

#include "fs/object_owner.h"
#include "package/file_name_rules.h"
#include "text/case_fold.h"
#include "text/path.h"

namespace {

// Full access for the built-in administrators and the system, nobody else;
// protected, so that no inherited entry widens it.
constexpr char kAdministratorsOnly[] = "D:P(A;;GA;;;BA)(A;;GA;;;SY)";

// Whether the mutex comes from a run of the setup: its owner is the
// administrators or the system, as for every object an elevated run makes,
// or the owner this run gives its own objects. Anyone else made it first to
// stall the product's setups.
bool MadeByAdministrators(HANDLE mutex) {
  KernelHandle token;
  union {
    TOKEN_OWNER owner;
    BYTE bytes[sizeof(TOKEN_OWNER) + SECURITY_MAX_SID_SIZE];
  } own;
  DWORD size = 0;
  bool known = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()) &&
               GetTokenInformation(token.Get(), TokenOwner, &own, sizeof own, &size);
  return OwnedByAdministrators(mutex, SE_KERNEL_OBJECT, known ? own.owner.Owner : nullptr);
}

}  // namespace

SystemPath ProductLockPath(const char* product_name) {
  SystemPath path;
  UINT length = GetSystemWindowsDirectoryA(path.data(), static_cast<UINT>(SystemPath::kMaxLength + 1));
  if (length == 0 || length > SystemPath::kMaxLength) return {};
  // One name holds at most 255 characters, ".lock" included.
  FixedText<kMaxWindowsNameLength - 5> stem("Tarnell Setup ");
  stem.Append(product_name);
  FixedText<kMaxWindowsNameLength> name(stem.c_str());
  name.Append(".lock");
  SystemPath joined;
  if (!PathJoin(joined, path.c_str(), name.c_str())) return {};
  return joined;
}

SystemPath ProductLockName(const char* product_name) {
  SystemPath name("Global\\Tarnell Setup ");
  std::size_t at = name.size();
  name.Append(product_name);
  for (char* c = name.data() + at; *c != '\0'; ++c) *c = *c == '\\' ? '/' : static_cast<char>(FoldCase(*c));
  return name;
}

ProductLock::~ProductLock() {
  if (mutex_) ReleaseMutex(mutex_.Get());
}

bool ProductLock::Take(const char* product_name) {
  if (file_) return true;
  LocalMemory descriptor;
  ConvertStringSecurityDescriptorToSecurityDescriptorA(kAdministratorsOnly, SDDL_REVISION_1, descriptor.Receive(),
                                                       nullptr);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.Get(), FALSE};
  // A file left by a run that the power cut off was made by an administrator
  // too: it is opened and taken over.
  SystemPath path = ProductLockPath(product_name);
  KernelHandle file(path.empty() ? INVALID_HANDLE_VALUE
                                 : CreateFileA(path.c_str(), GENERIC_READ, 0, &attributes, OPEN_ALWAYS,
                                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  KernelHandle mutex(CreateMutexA(&attributes, FALSE, ProductLockName(product_name).c_str()));
  // Every run's mutex lets administrators in: one that this run may not
  // open, or that someone else made, is not a run's.
  squatted_ = mutex ? GetLastError() == ERROR_ALREADY_EXISTS && !MadeByAdministrators(mutex.Get())
                    : GetLastError() == ERROR_ACCESS_DENIED;
  // A mutex whose run ended without releasing it (killed, crashed) is
  // abandoned: this run takes it, as the file that the system removed.
  DWORD waited = mutex && !squatted_ ? WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
  busy_ = !file || (!squatted_ && waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED);
  if (busy_) return false;
  file_ = std::move(file);
  if (!squatted_) mutex_ = std::move(mutex);
  return true;
}
