#include "system/process_start.h"

#include <windows.h>

#include "text/runtime_error.h"

namespace {

// Runs as the first constructor of the program, ahead of every static
// initialiser that could pull in a library.
__attribute__((constructor(101))) void RestrictEarly() { RestrictDllSearchToSystem(); }

}  // namespace

void RestrictDllSearchToSystem() {
  // SetDefaultDllDirectories exists from Windows 8 on (and on Vista and 7
  // with their update); SetDllDirectory("") at least drops the current folder.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default != nullptr) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");
}

void SuppressSystemErrorBoxes() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
}

const CommandLineWords& CommandLineTable() {
  static CommandLineWords table;
  static bool split = false;
  if (!split) {
    SplitCommandLine(GetCommandLineA(), table);
    split = true;
  }
  return table;
}

void HaltProcess(std::uint32_t exit_code, std::uint32_t error_address) {
  if (error_address != 0) MessageBoxA(nullptr, RuntimeErrorText(exit_code, error_address).c_str(), "Error", 0);
  ExitProcess(exit_code);
}
