#include "ui/core/system_library.h"

#include "text/fixed_text.h"
#include "text/path.h"

FARPROC SystemLibraryFunction(const char* dll, const char* name) {
  HMODULE module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) {
    // Vista and 7 without their loader update know no search flags: the
    // full path names the system's copy all the same.
    SystemPath folder;
    SystemPath path;
    UINT length = GetSystemDirectoryA(folder.data(), SystemPath::kMaxLength + 1);
    if (length == 0 || length > SystemPath::kMaxLength || !PathJoin(path, folder.c_str(), dll)) return nullptr;
    module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
