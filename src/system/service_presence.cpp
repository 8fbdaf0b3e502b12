#include "system/service_presence.h"

#include <windows.h>

bool ServiceRegistered(const char* service_name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return true;
  SC_HANDLE service = OpenServiceA(manager, service_name, SERVICE_QUERY_STATUS);
  bool missing = service == nullptr && GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
  if (service != nullptr) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return !missing;
}
