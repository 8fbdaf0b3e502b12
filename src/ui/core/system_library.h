// DLLs that are not on the system's KnownDLLs list are loaded by the setup
// itself, on first use and from the system folder only. Imported directly,
// Windows would look for them first in the program's own folder, usually the
// user's downloads folder, where anyone can leave a DLL of that name that
// then runs as administrator before any code of the setup does.
//
// https://learn.microsoft.com/windows/win32/dlls/dynamic-link-library-security
#pragma once

#include <windows.h>

// The function `name` of the system DLL `dll`, loaded from the system folder
// when first asked for; nullptr when the DLL or the function is missing, and
// on Vista and 7 without their loader update (KB2533623), which know no
// search flags: no DLL from anywhere else rather than one from the
// program's folder.
FARPROC SystemLibraryFunction(const char* dll, const char* name);

// The same, typed: SystemFunction<decltype(::LresultFromObject)>(...).
template <typename Function>
Function* SystemFunction(const char* dll, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemLibraryFunction(dll, name)));
}
