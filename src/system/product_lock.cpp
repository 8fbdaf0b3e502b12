#include "system/product_lock.h"

#include <windows.h>

#include <sddl.h>

#include <utility>

#include "text/case_fold.h"

namespace {

// Full access for the built-in administrators and the system, nobody else;
// protected, so that no inherited entry widens it.
constexpr char kAdministratorsOnly[] = "D:P(A;;GA;;;BA)(A;;GA;;;SY)";

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
  // A run that ended without releasing the mutex (killed, crashed) leaves it
  // abandoned: the next run takes it, and finds a record that matches the
  // machine, as after any abort.
  DWORD waited = mutex ? WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    busy_ = true;
    return false;
  }
  mutex_ = std::move(mutex);
  return true;
}
