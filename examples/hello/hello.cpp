// Hello: the example product's program. A window that lists the documents
// it is asked to open. The shell hands them over as the setup's file
// associations say: it starts Hello without arguments and then sends the
// document's path by DDE (topic "openfile", command "%1"). A path on the
// command line is taken too. Each document is also noted in Recent.txt in
// the product's data folder, which the setup never writes but removes.
//
// https://learn.microsoft.com/windows/win32/dataxchg/about-dynamic-data-exchange
#include <windows.h>

#include <dde.h>

#include <string>

namespace {

constexpr char kWindowClass[] = "HelloDocuments";
constexpr char kTopic[] = "openfile";
constexpr char kProduct[] = "Hello";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Hello";

HWND list = nullptr;

std::string AtomText(ATOM atom) {
  char text[256] = "";
  if (atom != 0) GlobalGetAtomNameA(atom, text, sizeof text);
  return text;
}

std::string ModulePath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

// The associations name the program by its full path; a plain "Hello" or
// no name at all is answered too.
bool IsOurApplication(const std::string& name) {
  return name.empty() || lstrcmpiA(name.c_str(), kProduct) == 0 || lstrcmpiA(name.c_str(), ModulePath().c_str()) == 0;
}

std::string DataFolder() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder - 1;
  DWORD type = 0;
  bool read =
      RegQueryValueExA(key, "DataPath", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) == ERROR_SUCCESS &&
      type == REG_SZ;
  RegCloseKey(key);
  return read ? folder : "";
}

void NoteInRecent(const std::string& document) {
  std::string folder = DataFolder();
  if (folder.empty()) return;
  HANDLE file = CreateFileA((folder + "\\Recent.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string line = document + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

// Quotes, blanks and an "[open(...)]" wrapper around the path are dropped.
std::string DocumentPath(std::string command) {
  const std::string open = "[open(";
  if (command.compare(0, open.size(), open) == 0 && command.size() >= open.size() + 2) {
    command = command.substr(open.size(), command.size() - open.size() - 2);
  }
  std::size_t begin = command.find_first_not_of(" \t\"");
  std::size_t end = command.find_last_not_of(" \t\"");
  return begin == std::string::npos ? "" : command.substr(begin, end - begin + 1);
}

void ShowDocument(const std::string& path) {
  if (path.empty()) return;
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
  NoteInRecent(path);
}

// The command of WM_DDE_EXECUTE, as text. A Unicode client's command is
// converted here unless the system did so already.
std::string ExecuteCommand(HGLOBAL commands) {
  const char* bytes = static_cast<const char*>(GlobalLock(commands));
  if (bytes == nullptr) return "";
  std::string text;
  if (GlobalSize(commands) >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
    const auto* wide = reinterpret_cast<const wchar_t*>(bytes);
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    text = narrow;
  } else {
    text = bytes;
  }
  GlobalUnlock(commands);
  return text;
}

void AnswerInitiate(HWND window, HWND client, LPARAM lparam) {
  std::string application = AtomText(LOWORD(lparam));
  std::string topic = AtomText(HIWORD(lparam));
  if (!IsOurApplication(application) || (!topic.empty() && lstrcmpiA(topic.c_str(), kTopic) != 0)) return;
  // The client deletes the atoms of the answer.
  ATOM application_atom = GlobalAddAtomA(application.empty() ? kProduct : application.c_str());
  ATOM topic_atom = GlobalAddAtomA(kTopic);
  SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), MAKELPARAM(application_atom, topic_atom));
}

void AnswerExecute(HWND window, HWND client, LPARAM lparam) {
  UINT_PTR unused = 0;
  UINT_PTR commands = 0;
  UnpackDDElParam(WM_DDE_EXECUTE, lparam, &unused, &commands);
  ShowDocument(DocumentPath(ExecuteCommand(reinterpret_cast<HGLOBAL>(commands))));
  LPARAM ack = ReuseDDElParam(lparam, WM_DDE_EXECUTE, WM_DDE_ACK, 0x8000, commands);  // fAck
  if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), ack)) FreeDDElParam(WM_DDE_ACK, ack);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, window, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
      return list != nullptr ? 0 : -1;
    case WM_SIZE: MoveWindow(list, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE); return 0;
    case WM_DDE_INITIATE: AnswerInitiate(window, reinterpret_cast<HWND>(wparam), lparam); return 0;
    case WM_DDE_EXECUTE: AnswerExecute(window, reinterpret_cast<HWND>(wparam), lparam); return 0;
    case WM_DDE_TERMINATE:
      PostMessageA(reinterpret_cast<HWND>(wparam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassA(&window_class)) return 1;
  HWND window = CreateWindowA(kWindowClass, "Hello - documents", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480,
                              320, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  ShowDocument(DocumentPath(command_line));

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
