// What the service control manager holds about a service, as the tests ask
// it: one way to open, query, start and wait for a service, on the handle
// family.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "handles/owned_handle.h"

// The service opened with `access`; null when it is missing or refused.
ServiceHandle OpenTestService(const std::string& name, DWORD access);

// A service's configuration and its present state.
struct ServiceFacts {
  DWORD service_type = 0;
  DWORD start_type = 0;
  DWORD error_control = 0;
  std::string image_path;
  std::string account;
  std::string display_name;
  DWORD state = 0;
};
// Nothing when there is no such service.
std::optional<ServiceFacts> FindService(const std::string& name);

// Starts it as the service control manager does, with one argument for
// ServiceMain or none (nullptr).
bool StartServiceWith(const std::string& name, const char* argument);
bool WaitForServiceState(const std::string& name, DWORD state, int seconds);
