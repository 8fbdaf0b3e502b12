#include "symbolic_link.h"

#include <windows.h>

#include "handles/owned_handle.h"
#include "run_program.h"

namespace {

// The Unix path of a Windows path, through Wine's own export.
std::string UnixPath(const std::string& path) {
  using UnixName = char*(CDECL*)(const WCHAR*);
  auto unix_name = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return "";
  std::wstring wide(path.begin(), path.end());
  ProcessHeapBlock name(unix_name(wide.c_str()));
  return name ? static_cast<const char*>(name.Get()) : "";
}

}  // namespace

SymbolicLink::SymbolicLink(const std::string& link, const std::string& target) : unix_link_(UnixPath(link)) {
  RunProgramToEnd("Z:\\bin\\ln", "/bin/ln -s \"" + UnixPath(target) + "\" \"" + unix_link_ + "\"", nullptr, 10000);
  for (int i = 0; i < 50 && GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  made_ = GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

SymbolicLink::~SymbolicLink() { RunProgramToEnd("Z:\\bin\\rm", "/bin/rm -f \"" + unix_link_ + "\"", nullptr, 10000); }
