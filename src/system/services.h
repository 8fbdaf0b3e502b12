// Windows services for the package files marked as services: registered as
// manually started services of their own process under LocalSystem, with
// every user allowed to query, start, stop and reconfigure them. The setup
// never starts a service; it stops and deletes one when its file goes.
//
// https://learn.microsoft.com/windows/win32/services/service-control-manager
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/product_record.h"
#include "text/fixed_text.h"

// What Everyone may do with a product service: SERVICE_QUERY_CONFIG,
// SERVICE_CHANGE_CONFIG, SERVICE_QUERY_STATUS, SERVICE_START, SERVICE_STOP.
inline constexpr DWORD kEveryoneServiceRights = 0x37;

// The service of a file: its name up to the first "." (Agent for
// Agent.Main.exe); the display name adds " Service".
Text ServiceNameOf(const char* file_name);

// Registers the service with its image path in double quotes, so a path with
// blanks cannot be read as another program. A service of that name that
// exists already is left as it is and counts as success.
bool CreateProgramService(const char* image_path, const char* service_name);

// The security descriptor that GrantServiceControl hands to a service: the
// service's DACL with an entry that allows Everyone kEveryoneServiceRights.
class ServiceControlDescriptor {
 public:
  ServiceControlDescriptor() = default;
  ~ServiceControlDescriptor();
  ServiceControlDescriptor(const ServiceControlDescriptor&) = delete;
  ServiceControlDescriptor& operator=(const ServiceControlDescriptor&) = delete;

  // Builds it from the service's present DACL (null for none); false on failure.
  bool Build(PACL existing);
  PSECURITY_DESCRIPTOR Descriptor() { return &descriptor_; }

 private:
  SECURITY_DESCRIPTOR descriptor_{};
  PACL acl_ = nullptr;
};

// Merges the Everyone entry into the service's DACL.
bool GrantServiceControl(SC_HANDLE service);

enum class StopResult : std::uint8_t {
  kStopped = 0,     // it was running and has stopped
  kWasStopped = 1,  // it was not running
  kNotStopped = 2,  // it did not stop in time, or it could not be asked
};

// Asks the service to stop and waits up to 50 x 200 ms for it; a stopped
// service is set back to manual start.
StopResult StopProgramService(const char* service_name);
// True when the service is gone, or was never there.
bool DeleteProgramService(const char* service_name);
// Stops and deletes the service of an installed file, then removes its
// start-menu shortcuts when the record has them. A failure is reported
// through LogError ("The service %s has not been stoppt", "Service %s
// deinstallation failed") and leaves the service and its shortcuts.
void UninstallService(const ProductRecord& record, const char* service_name);
// The service of a file that goes, or is no longer a service: uninstalled
// when it is registered; one that is gone already (a run that broke off
// removed it before its file) only loses its start-menu shortcuts.
void RemoveProgramService(const ProductRecord& record, const char* service_name);

// Starts a service again that the setup stopped to replace its program;
// false when it does not start.
bool StartProgramService(const char* service_name);
