// accessible-walk: a screen reader's view of a window of another process,
// through Active Accessibility as readers use it (AccessibleObjectFromWindow
// on the window's client area, then its children by id).
//
//   accessible-walk tree TITLE
//       one line per child (0 is the window itself):
//       ID|ROLE|NAME|VALUE|STATES|LEFT TOP WIDTH HEIGHT|DEFAULT ACTION
//       with STATES a comma list of focused, focusable, unavailable,
//       checked, mixed, readonly, invisible
//   accessible-walk press TITLE ROLE NAME
//       the default action of the first child of that role and name
//   accessible-walk children TITLE
//       the children as AccessibleChildren lists them (as many readers
//       enumerate): "ID" for a simple element, "object" for one of its own
//   accessible-walk focus TITLE
//       the id of the child get_accFocus names
//   accessible-walk hit TITLE X Y
//       the id of the child accHitTest finds at a screen point
//   accessible-walk events TITLE SECONDS
//       the focus, state and value events of the window's client area for
//       that long, one a line: "focus ID", "state ID" or "value ID"
//   accessible-walk hold TITLE
//       takes the window's object, waits for the window to go, then asks
//       the object again: prints "refused 0xHRESULT" when it fails the call
//
// TITLE is the window's title, or "class:NAME" for the shown window of a
// window class (a popup menu has no title); the window is waited for up to
// 30 seconds.
// The exit code is 0 on success, 1 when the window, the object or the
// child is missing or a call fails.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "handles/com_ptr.h"
#include "reader.h"

namespace {

struct Named {
  LONG value;
  const char* name;
};
const Named kRoles[] = {
    {ROLE_SYSTEM_CLIENT, "client"},
    {ROLE_SYSTEM_DIALOG, "dialog"},
    {ROLE_SYSTEM_TITLEBAR, "titlebar"},
    {ROLE_SYSTEM_PUSHBUTTON, "pushbutton"},
    {ROLE_SYSTEM_CHECKBUTTON, "checkbox"},
    {ROLE_SYSTEM_RADIOBUTTON, "radiobutton"},
    {ROLE_SYSTEM_TEXT, "text"},
    {ROLE_SYSTEM_STATICTEXT, "statictext"},
    {ROLE_SYSTEM_GRAPHIC, "graphic"},
    {ROLE_SYSTEM_LIST, "list"},
    {ROLE_SYSTEM_OUTLINE, "outline"},
    {ROLE_SYSTEM_TOOLBAR, "toolbar"},
    {ROLE_SYSTEM_SCROLLBAR, "scrollbar"},
    {ROLE_SYSTEM_MENUPOPUP, "menupopup"},
    {ROLE_SYSTEM_MENUITEM, "menuitem"},
    {ROLE_SYSTEM_SEPARATOR, "separator"},
};
const Named kStates[] = {
    {STATE_SYSTEM_FOCUSED, "focused"},
    {STATE_SYSTEM_FOCUSABLE, "focusable"},
    {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
    {STATE_SYSTEM_CHECKED, "checked"},
    {STATE_SYSTEM_MIXED, "mixed"},
    {STATE_SYSTEM_READONLY, "readonly"},
    {STATE_SYSTEM_INVISIBLE, "invisible"},
};

std::string Narrow(BSTR text) {
  ComText owned(text);
  std::string out;
  if (text == nullptr) return out;
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length > 1) {
    out.resize(static_cast<std::size_t>(length - 1));
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], length, nullptr, nullptr);
  }
  return out;
}

// Multi-line names and values on one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '|') c = ' ';
  }
  return text;
}

std::string RoleName(IAccessible& object, LONG id) {
  VARIANT role;
  VariantInit(&role);
  if (FAILED(object.get_accRole(Child(id), &role)) || role.vt != VT_I4) return "?";
  for (const Named& named : kRoles) {
    if (named.value == role.lVal) return named.name;
  }
  return std::to_string(role.lVal);
}

std::string StateNames(IAccessible& object, LONG id) {
  VARIANT state;
  VariantInit(&state);
  if (FAILED(object.get_accState(Child(id), &state)) || state.vt != VT_I4) return "?";
  std::string out;
  for (const Named& named : kStates) {
    if ((state.lVal & named.value) == 0) continue;
    if (!out.empty()) out += ',';
    out += named.name;
  }
  return out;
}

std::string Name(IAccessible& object, LONG id) {
  BSTR text = nullptr;
  object.get_accName(Child(id), &text);
  return OneLine(Narrow(text));
}

struct ClassSearch {
  const char* name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ClassSearch*>(data);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (!IsWindowVisible(window) || std::strcmp(name, search.name) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindShown(const char* title) {
  if (std::strncmp(title, "class:", 6) == 0) {
    ClassSearch search{title + 6, nullptr};
    EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND window = FindWindowA(nullptr, title);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND WaitForWindow(const char* title) {
  for (int i = 0; i < 300; ++i) {
    HWND window = FindShown(title);
    if (window != nullptr) return window;
    Sleep(100);
  }
  return nullptr;
}

IAccessible* ObjectOf(HWND window) {
  IAccessible* object = nullptr;
  HRESULT result = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                              reinterpret_cast<void**>(&object));
  if (FAILED(result) || object == nullptr) {
    std::printf("no accessible object (0x%08lx)\n", static_cast<unsigned long>(result));
    return nullptr;
  }
  return object;
}

int Tree(IAccessible& object) {
  long count = 0;
  if (FAILED(object.get_accChildCount(&count))) return 1;
  for (LONG id = 0; id <= count; ++id) {
    BSTR value = nullptr;
    object.get_accValue(Child(id), &value);
    BSTR action = nullptr;
    object.get_accDefaultAction(Child(id), &action);
    long left = 0, top = 0, width = 0, height = 0;
    object.accLocation(&left, &top, &width, &height, Child(id));
    std::printf("%ld|%s|%s|%s|%s|%ld %ld %ld %ld|%s\n", static_cast<long>(id), RoleName(object, id).c_str(),
                Name(object, id).c_str(), OneLine(Narrow(value)).c_str(), StateNames(object, id).c_str(), left, top,
                width, height, Narrow(action).c_str());
  }
  return 0;
}

int Children(IAccessible& object) {
  long count = 0;
  if (FAILED(object.get_accChildCount(&count)) || count <= 0) return 1;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long obtained = 0;
  HRESULT result = AccessibleChildren(&object, 0, count, children.data(), &obtained);
  if (FAILED(result)) {
    std::printf("AccessibleChildren failed (0x%08lx)\n", static_cast<unsigned long>(result));
    return 1;
  }
  for (long i = 0; i < obtained; ++i) {
    if (children[static_cast<std::size_t>(i)].vt == VT_I4) {
      std::printf("%ld\n", static_cast<long>(children[static_cast<std::size_t>(i)].lVal));
    } else {
      std::printf("object\n");
    }
    VariantClear(&children[static_cast<std::size_t>(i)]);
  }
  return 0;
}

int Press(IAccessible& object, const char* role, const char* name) {
  long count = 0;
  if (FAILED(object.get_accChildCount(&count))) return 1;
  for (LONG id = 1; id <= count; ++id) {
    if (RoleName(object, id) != role || Name(object, id) != name) continue;
    HRESULT result = object.accDoDefaultAction(Child(id));
    if (SUCCEEDED(result)) return 0;
    std::printf("the default action failed (0x%08lx)\n", static_cast<unsigned long>(result));
    return 1;
  }
  std::printf("no %s named \"%s\"\n", role, name);
  return 1;
}

HWND watched = nullptr;

void CALLBACK PrintEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window != watched || object != OBJID_CLIENT) return;
  const char* name = event == EVENT_OBJECT_FOCUS         ? "focus"
                     : event == EVENT_OBJECT_STATECHANGE ? "state"
                     : event == EVENT_OBJECT_VALUECHANGE ? "value"
                                                         : nullptr;
  if (name == nullptr) return;
  std::printf("%s %ld\n", name, static_cast<long>(child));
  std::fflush(stdout);
}

// Out of context: the events arrive as messages on this thread.
int Events(HWND window, long seconds) {
  watched = window;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, PrintEvent, process, 0,
                                       WINEVENT_OUTOFCONTEXT);
  if (hook == nullptr) return 1;
  DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  UnhookWinEvent(hook);
  return 0;
}

int PrintChild(HRESULT result, const VARIANT& found) {
  if (result != S_OK || found.vt != VT_I4) {
    std::printf("none\n");
    return 1;
  }
  std::printf("%ld\n", static_cast<long>(found.lVal));
  return 0;
}

int Hold(IAccessible& object, HWND window) {
  for (int i = 0; i < 1200 && IsWindow(window) && IsWindowVisible(window); ++i) Sleep(100);
  if (IsWindow(window) && IsWindowVisible(window)) return 1;
  // The window may be hidden first and destroyed a moment later.
  Sleep(500);
  long count = 0;
  HRESULT result = object.get_accChildCount(&count);
  if (FAILED(result)) {
    std::printf("refused 0x%08lx\n", static_cast<unsigned long>(result));
  } else {
    std::printf("answered %ld\n", count);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: accessible-walk tree|press|focus|hit|hold TITLE [ARGS]\n");
    return 2;
  }
  CoInitialize(nullptr);
  HWND window = WaitForWindow(argv[2]);
  if (window == nullptr) {
    std::printf("no window \"%s\"\n", argv[2]);
    return 1;
  }
  IAccessible* object = ObjectOf(window);
  if (object == nullptr) return 1;
  const char* command = argv[1];
  int status = 2;
  if (std::strcmp(command, "tree") == 0) {
    status = Tree(*object);
  } else if (std::strcmp(command, "children") == 0) {
    status = Children(*object);
  } else if (std::strcmp(command, "press") == 0 && argc == 5) {
    status = Press(*object, argv[3], argv[4]);
  } else if (std::strcmp(command, "focus") == 0) {
    VARIANT found;
    VariantInit(&found);
    status = PrintChild(object->get_accFocus(&found), found);
  } else if (std::strcmp(command, "hit") == 0 && argc == 5) {
    VARIANT found;
    VariantInit(&found);
    status = PrintChild(object->accHitTest(std::atol(argv[3]), std::atol(argv[4]), &found), found);
  } else if (std::strcmp(command, "events") == 0 && argc == 4) {
    status = Events(window, std::atol(argv[3]));
  } else if (std::strcmp(command, "hold") == 0) {
    status = Hold(*object, window);
  }
  object->Release();
  std::fflush(stdout);
  // Without CoUninitialize: a proxy whose server has gone can keep it waiting.
  ExitProcess(static_cast<UINT>(status));
}
