#include "run_program.h"

#include "handles/owned_handle.h"

DWORD RunProgramToEnd(const char* program, std::string command, char* environment, DWORD timeout_ms) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, environment, nullptr, &startup, &process)) {
    return kNotStarted;
  }
  StartedProcess started(process);
  WaitForSingleObject(started.process.Get(), timeout_ms);
  DWORD code = kNotStarted;
  GetExitCodeProcess(started.process.Get(), &code);
  return code;
}
