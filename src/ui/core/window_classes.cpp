// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-registerclassexa
#include "ui/core/window_classes.h"

#include "ui/core/native_window.h"
#include "ui/core/window_errors.h"

namespace {

// Icon resources of the program: the large icon and the small one.
constexpr int kLargeIconId = 1715;
constexpr int kSmallIconId = 1;

// The object is attached after CreateWindowExA returns; until then, and for
// any window that is not (or no longer) the object's, the default applies.
LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM w_param, LPARAM l_param) {
  auto* window = reinterpret_cast<NativeWindow*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
  if (window == nullptr || window->Handle() != handle) return DefWindowProcA(handle, message, w_param, l_param);
  if (message == WM_NCDESTROY) {
    window->Detach();
    return 0;
  }
  try {
    return window->HandleMessage(message, w_param, l_param);
  } catch (...) {
    ParkWindowError();
    return 0;
  }
}

bool RegisterOne(const char* name, UINT style) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, name, &existing)) UnregisterClassA(name, instance);
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = style;
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kLargeIconId));
  window_class.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(kSmallIconId));
  window_class.lpszClassName = name;
  return RegisterClassExA(&window_class) != 0;
}

}  // namespace

bool RegisterWindowClasses() {
  constexpr UINT kRedraw = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  return RegisterOne(kToolClassName, kRedraw) && RegisterOne(kApplicationClassName, kRedraw | CS_DBLCLKS) &&
         RegisterOne(kDialogClassName, kRedraw | CS_DBLCLKS);
}

void UnregisterWindowClasses() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  UnregisterClassA(kApplicationClassName, instance);
  UnregisterClassA(kDialogClassName, instance);
  UnregisterClassA(kToolClassName, instance);
}

void BringApplicationWindowToFront(const char* title) {
  HWND window = FindWindowA(kApplicationClassName, title);
  if (window == nullptr) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}
