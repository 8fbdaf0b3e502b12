#include "ui/core/system_library.h"

FARPROC SystemLibraryFunction(const char* dll, const char* name) {
  HMODULE module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
