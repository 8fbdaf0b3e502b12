// HelloAgent: the example product's service program.
//
// Started by the service control manager (no command-line argument) it runs
// as the service named after its file (the name up to the first "."),
// reports RUNNING and stops when asked. Started with the service argument
// "slow-stop" it answers a stop request with STOP_PENDING and only stops
// 12 seconds later, longer than the setup waits: that is how the scenario
// tests meet a service that does not stop.
//
// Started from the command line with "start" or "stop", as the setup's
// start-menu shortcuts run it, it asks the service control manager to start
// or stop that service and exits with 0 on success.
#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD kSlowStopMs = 12000;

SERVICE_STATUS_HANDLE status_handle = nullptr;
HANDLE stop_event = nullptr;
bool slow_stop = false;
char service_name[MAX_PATH] = "";

void ReportState(DWORD state, DWORD wait_hint) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  status.dwWaitHint = wait_hint;
  SetServiceStatus(status_handle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
  if (control == SERVICE_CONTROL_STOP) {
    ReportState(SERVICE_STOP_PENDING, slow_stop ? kSlowStopMs : 0);
    SetEvent(stop_event);
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD argc, char** argv) {
  for (DWORD i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "slow-stop") == 0) slow_stop = true;
  }
  status_handle = RegisterServiceCtrlHandlerExA(service_name, Control, nullptr);
  if (status_handle == nullptr) return;
  stop_event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ReportState(SERVICE_RUNNING, 0);
  WaitForSingleObject(stop_event, INFINITE);
  if (slow_stop) Sleep(kSlowStopMs);
  ReportState(SERVICE_STOPPED, 0);
}

void FindServiceName() {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, sizeof module);
  const char* name = std::strrchr(module, '\\');
  name = name ? name + 1 : module;
  std::size_t length = std::strcspn(name, ".");
  std::memcpy(service_name, name, length);
  service_name[length] = '\0';
}

int Command(const char* command) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return 2;
  SC_HANDLE service = OpenServiceA(manager, service_name, SERVICE_START | SERVICE_STOP);
  bool done = false;
  if (service != nullptr) {
    SERVICE_STATUS status;
    done = std::strcmp(command, "start") == 0 ? StartServiceA(service, 0, nullptr) != 0
                                              : ControlService(service, SERVICE_CONTROL_STOP, &status) != 0;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  FindServiceName();
  if (argc > 1) {
    if (std::strcmp(argv[1], "start") == 0 || std::strcmp(argv[1], "stop") == 0) return Command(argv[1]);
    return 3;
  }
  SERVICE_TABLE_ENTRYA table[] = {{service_name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
