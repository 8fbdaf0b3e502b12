// A stand-in for oleacc.dll, as a user could leave one beside a download:
// loaded into a process, it writes the file that TARNELL_PLANTED_MARKER
// names. It exports the functions programs import from oleacc, so a program
// that imports them starts with it.
#include <windows.h>

#include "handles/owned_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char marker[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("TARNELL_PLANTED_MARKER", marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  // Made and closed again: being there is the whole message.
  KernelHandle made(CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}

extern "C" __declspec(dllexport) LRESULT WINAPI LresultFromObject(const GUID*, WPARAM, void*) { return 0; }
extern "C" __declspec(dllexport) HRESULT WINAPI AccessibleObjectFromWindow(HWND, DWORD, const GUID*, void**) {
  return E_FAIL;
}
extern "C" __declspec(dllexport) HRESULT WINAPI AccessibleChildren(void*, LONG, LONG, void*, LONG*) { return E_FAIL; }
