#include "system/service_presence.h"

#include <windows.h>

#include "handles/owned_handle.h"

bool ServiceRegistered(const char* service_name) {
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return true;
  ServiceHandle service(OpenServiceA(manager.Get(), service_name, SERVICE_QUERY_STATUS));
  return service || GetLastError() != ERROR_SERVICE_DOES_NOT_EXIST;
}
