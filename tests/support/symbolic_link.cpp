#include "symbolic_link.h"

#include <windows.h>

namespace {

// The Unix path of a Windows path, through Wine's own export.
std::string UnixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const WCHAR*);
  auto unix_name = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return "";
  std::wstring wide(path.begin(), path.end());
  char* name = unix_name(wide.c_str());
  if (name == nullptr) return "";
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Runs a Unix program, which Wine starts as it is; false when it cannot.
bool RunUnix(const char* program, std::string command) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

SymbolicLink::SymbolicLink(const std::string& link, const std::string& target) : unix_link_(UnixPath(link)) {
  RunUnix("Z:\\bin\\ln", "/bin/ln -s \"" + UnixPath(target) + "\" \"" + unix_link_ + "\"");
  for (int i = 0; i < 50 && GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  made_ = GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

SymbolicLink::~SymbolicLink() { RunUnix("Z:\\bin\\rm", "/bin/rm -f \"" + unix_link_ + "\""); }
