#include "service_queries.h"

ServiceHandle OpenTestService(const std::string& name, DWORD access) {
  // A service handle stays valid after its manager is closed.
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ServiceHandle();
  return ServiceHandle(OpenServiceA(manager.Get(), name.c_str(), access));
}

std::optional<ServiceFacts> FindService(const std::string& name) {
  ServiceHandle service = OpenTestService(name, SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
  if (!service) return std::nullopt;
  alignas(QUERY_SERVICE_CONFIGA) BYTE buffer[8192];
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
  DWORD needed = 0;
  SERVICE_STATUS status{};
  if (!QueryServiceConfigA(service.Get(), config, sizeof buffer, &needed) ||
      !QueryServiceStatus(service.Get(), &status)) {
    return std::nullopt;
  }
  auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
  return ServiceFacts{config->dwServiceType,
                      config->dwStartType,
                      config->dwErrorControl,
                      text(config->lpBinaryPathName),
                      text(config->lpServiceStartName),
                      text(config->lpDisplayName),
                      status.dwCurrentState};
}

bool StartServiceWith(const std::string& name, const char* argument) {
  ServiceHandle service = OpenTestService(name, SERVICE_START);
  const char* arguments[] = {argument};
  return service &&
         StartServiceA(service.Get(), argument != nullptr ? 1 : 0, argument != nullptr ? arguments : nullptr);
}

bool WaitForServiceState(const std::string& name, DWORD state, int seconds) {
  for (int i = 0; i <= seconds * 20; ++i) {
    std::optional<ServiceFacts> facts = FindService(name);
    if (facts && facts->state == state) return true;
    Sleep(50);
  }
  return false;
}
