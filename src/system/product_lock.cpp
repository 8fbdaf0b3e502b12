#include "system/product_lock.h"

#include <windows.h>

#include <sddl.h>

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
  if (handle_ != nullptr) {
    ReleaseMutex(handle_);
    CloseHandle(handle_);
  }
}

bool ProductLock::Take(const char* product_name) {
  if (handle_ != nullptr) return true;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  ConvertStringSecurityDescriptorToSecurityDescriptorA(kAdministratorsOnly, SDDL_REVISION_1,
                                                       &attributes.lpSecurityDescriptor, nullptr);
  HANDLE mutex = CreateMutexA(&attributes, FALSE, ProductLockName(product_name).c_str());
  LocalFree(attributes.lpSecurityDescriptor);
  // A run that ended without releasing the mutex (killed, crashed) leaves it
  // abandoned: the next run takes it, and finds a record that matches the
  // machine, as after any abort.
  DWORD waited = mutex != nullptr ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    if (mutex != nullptr) CloseHandle(mutex);
    busy_ = true;
    return false;
  }
  handle_ = mutex;
  return true;
}
