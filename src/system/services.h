// Windows services for the package files marked as services: registered as
// manually started services of their own process under LocalSystem, with
// every user allowed to query, start and stop them. The setup
// never starts a service; it stops and deletes one when its file goes.
//
// https://learn.microsoft.com/windows/win32/services/service-control-manager
#pragma once

#include <windows.h>

#include <cstdint>

#include "handles/owned_handle.h"
#include "package/product_record.h"
#include "text/fixed_text.h"

// What Everyone may do with a product service: enough for the Start and Stop
// shortcuts. Never SERVICE_CHANGE_CONFIG: whoever holds it can point the
// LocalSystem service at a program of their own.
inline constexpr DWORD kEveryoneServiceRights =
    SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_START | SERVICE_STOP;

// The service of a file: its name up to the first "." (Agent for
// Agent.Main.exe); the display name adds " Service".
Text ServiceNameOf(const char* file_name);

// Registers the service with its image path in double quotes, so a path with
// blanks cannot be read as another program. A service of that name that
// exists already is left as it is; it counts as success only when it runs
// this very program (quoted), since it is stopped and deleted with the file.
bool CreateProgramService(const char* image_path, const char* service_name);
// Whether a service of that name exists and runs something other than
// `image_path` (quoted): another program's, which the setup never touches.
bool RunsOtherProgram(const char* service_name, const char* image_path);
// Where the record's install put a service file; empty when unknown.
Text ServiceImagePath(const ProductRecord& record, const FileRecord& file);

// The security descriptor that GrantServiceControl hands to a service: the
// service's DACL with an entry that allows Everyone kEveryoneServiceRights.
class ServiceControlDescriptor {
 public:
  ServiceControlDescriptor() = default;
  ServiceControlDescriptor(const ServiceControlDescriptor&) = delete;
  ServiceControlDescriptor& operator=(const ServiceControlDescriptor&) = delete;

  // Builds it from the service's present DACL (null for none); false on failure.
  bool Build(PACL existing);
  PSECURITY_DESCRIPTOR Descriptor() { return &descriptor_; }

 private:
  SECURITY_DESCRIPTOR descriptor_{};
  LocalMemory acl_;
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

// Starts a service again that the setup stopped to replace its program;
// false when it does not start.
bool StartProgramService(const char* service_name);
