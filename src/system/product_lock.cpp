#include "system/product_lock.h"

#include <windows.h>

#include <sddl.h>

#include <utility>

#include "fs/object_owner.h"
#include "text/case_fold.h"

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
  if (mutex_) return true;
  LocalMemory descriptor;
  ConvertStringSecurityDescriptorToSecurityDescriptorA(kAdministratorsOnly, SDDL_REVISION_1, descriptor.Receive(),
                                                       nullptr);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.Get(), FALSE};
  KernelHandle mutex(CreateMutexA(&attributes, FALSE, ProductLockName(product_name).c_str()));
  // Every run's mutex lets administrators in: one that this run may not
  // open, or that someone else made, is not a run's.
  squatted_ = mutex ? GetLastError() == ERROR_ALREADY_EXISTS && !MadeByAdministrators(mutex.Get())
                    : GetLastError() == ERROR_ACCESS_DENIED;
  // A run that ended without releasing the mutex (killed, crashed) leaves it
  // abandoned: the next run takes it, and finds a record that matches the
  // machine, as after any abort.
  DWORD waited = mutex && !squatted_ ? WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    busy_ = true;
    return false;
  }
  mutex_ = std::move(mutex);
  return true;
}
