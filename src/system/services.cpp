#include "system/services.h"

#include <aclapi.h>

#include <memory>

#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "log/logger.h"
#include "text/case_fold.h"
#include "text/path.h"
#include "text/text.h"

namespace {

// The stop wait: 50 x 200 ms, ten seconds in all.
constexpr int kStopPolls = 50;
constexpr DWORD kStopPollMs = 200;
// Stopping sets the service back to manual start, hence the change-config right.
constexpr DWORD kStopAccess = SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG | SERVICE_QUERY_STATUS | SERVICE_STOP;

ServiceHandle OpenManager(DWORD access) { return ServiceHandle(OpenSCManagerA(nullptr, nullptr, access)); }

bool QueryState(SC_HANDLE service, DWORD& state) {
  SERVICE_STATUS status;
  if (!QueryServiceStatus(service, &status)) return false;
  state = status.dwCurrentState;
  return true;
}

// Whether the service runs `quoted_path`, the program as CreateProgramService
// registers it. A service that cannot be asked runs nothing of ours.
bool RunsProgram(SC_HANDLE service, const char* quoted_path) {
  DWORD needed = 0;
  if (QueryServiceConfigA(service, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  std::unique_ptr<BYTE[]> buffer(new BYTE[needed]());
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.get());
  return QueryServiceConfigA(service, config, needed, &needed) && config->lpBinaryPathName != nullptr &&
         EqualIgnoringCase(config->lpBinaryPathName, quoted_path);
}

void SetDemandStart(SC_HANDLE service) {
  Machine().change_service_config(service, SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

Text ServiceNameOf(const char* file_name) {
  Text name;
  NameWithoutExtension(name, file_name);
  return name;
}

bool CreateProgramService(const char* image_path, const char* service_name) {
  ServiceHandle manager = OpenManager(SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  Text quoted_path;
  Text display_name(service_name);
  if (!QuoteText(quoted_path, image_path) || !display_name.Append(" Service")) return false;
  // Dependencies: an empty list, which ends in two NULs.
  ServiceHandle service(Machine().create_service(manager.Get(), service_name, display_name.c_str(), SERVICE_ALL_ACCESS,
                                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                                 quoted_path.c_str(), "", nullptr, "\0", "LocalSystem", nullptr));
  if (service) return GrantServiceControl(service.Get());
  if (GetLastError() != ERROR_SERVICE_EXISTS) return false;
  // Only this product's own service is taken over: one of another program
  // would later be stopped and deleted with the product.
  ServiceHandle existing(OpenServiceA(manager.Get(), service_name, SERVICE_QUERY_CONFIG));
  return existing && RunsProgram(existing.Get(), quoted_path.c_str());
}

bool RunsOtherProgram(const char* service_name, const char* image_path) {
  Text quoted_path;
  ServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager || !QuoteText(quoted_path, image_path)) return false;
  ServiceHandle service(OpenServiceA(manager.Get(), service_name, SERVICE_QUERY_CONFIG));
  return service && !RunsProgram(service.Get(), quoted_path.c_str());
}

Text ServiceImagePath(const ProductRecord& record, const FileRecord& file) {
  bool data = file.destination != static_cast<std::uint8_t>(Destination::kProgramFolder);
  const Text& folder = data ? record.data_folder : record.program_folder;
  Text path;
  if (folder.empty() || !PathJoin(path, folder.c_str(), file.name)) path.Clear();
  return path;
}

bool ServiceControlDescriptor::Build(PACL existing) {
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  SidMemory everyone;
  if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Receive())) return false;

  EXPLICIT_ACCESS_A entry{};
  entry.grfAccessPermissions = kEveryoneServiceRights;
  entry.grfAccessMode = SET_ACCESS;
  entry.grfInheritance = NO_INHERITANCE;
  entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  entry.Trustee.ptstrName = static_cast<LPSTR>(everyone.Get());

  PACL merged = nullptr;
  if (SetEntriesInAclA(1, &entry, existing, &merged) != ERROR_SUCCESS) return false;
  acl_.Reset(merged);
  return InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
         SetSecurityDescriptorDacl(&descriptor_, TRUE, static_cast<PACL>(acl_.Get()), FALSE);
}

bool GrantServiceControl(SC_HANDLE service) {
  DWORD needed = 0;
  if (QueryServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, nullptr, 0, &needed) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return false;
  }
  std::unique_ptr<BYTE[]> present(new BYTE[needed]());
  if (!QueryServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, present.get(), needed, &needed)) return false;
  BOOL dacl_present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorDacl(present.get(), &dacl_present, &dacl, &defaulted)) return false;

  ServiceControlDescriptor descriptor;
  return descriptor.Build(dacl_present ? dacl : nullptr) &&
         Machine().set_service_security(service, DACL_SECURITY_INFORMATION, descriptor.Descriptor());
}

StopResult StopProgramService(const char* service_name) {
  ServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return StopResult::kNotStopped;
  ServiceHandle service(OpenServiceA(manager.Get(), service_name, kStopAccess));
  DWORD state = 0;
  if (!service || !QueryState(service.Get(), state)) return StopResult::kNotStopped;
  if (state == SERVICE_STOPPED) return StopResult::kWasStopped;

  // A service already on its way down takes no stop request; it is only waited for.
  SERVICE_STATUS status;
  if (state != SERVICE_STOP_PENDING && !Machine().control_service(service.Get(), SERVICE_CONTROL_STOP, &status)) {
    return StopResult::kNotStopped;
  }
  for (int poll = 0; poll < kStopPolls; ++poll) {
    if (QueryState(service.Get(), state) && state == SERVICE_STOPPED) {
      SetDemandStart(service.Get());
      return StopResult::kStopped;
    }
    Sleep(kStopPollMs);
  }
  return StopResult::kNotStopped;
}

bool DeleteProgramService(const char* service_name) {
  ServiceHandle manager = OpenManager(SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  ServiceHandle service(OpenServiceA(manager.Get(), service_name, SERVICE_ALL_ACCESS));
  if (!service) return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
  // A service marked for deletion goes once its last handle closes.
  return Machine().delete_service(service.Get()) || GetLastError() == ERROR_SERVICE_MARKED_FOR_DELETE;
}

bool StartProgramService(const char* service_name) {
  ServiceHandle manager = OpenManager(SC_MANAGER_CONNECT);
  if (!manager) return false;
  ServiceHandle service(OpenServiceA(manager.Get(), service_name, SERVICE_START));
  return service &&
         (Machine().start_service(service.Get(), 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING);
}
