// Reads or sets the system clipboard's text from outside the gallery, so the
// test script sees what a copy really put there and can offer a paste.
//
//   clipboard-tool            prints the CF_TEXT text, CR and LF as \r and \n
//   clipboard-tool --raw      prints the CF_TEXT text as it is
//   clipboard-tool --set T    puts T there (\r and \n in T stand for CR and LF)
//
// Exit code 0, or 1 when the clipboard holds no text or refuses.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "handles/clipboard_scope.h"
#include "handles/owned_handle.h"

namespace {

std::string Unescaped(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    if (c[0] == '\\' && (c[1] == 'r' || c[1] == 'n')) {
      out += c[1] == 'r' ? '\r' : '\n';
      ++c;
    } else {
      out += *c;
    }
  }
  return out;
}

int Print(bool raw) {
  ClipboardScope clipboard(nullptr);
  if (!clipboard.IsOpen()) return 1;
  HANDLE block = GetClipboardData(CF_TEXT);
  const char* text = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
  if (text == nullptr) return 1;
  if (raw) {
    std::fputs(text, stdout);
  } else {
    for (const char* c = text; *c != '\0'; ++c) {
      if (*c == '\r')
        std::fputs("\\r", stdout);
      else if (*c == '\n')
        std::fputs("\\n", stdout);
      else
        std::fputc(*c, stdout);
    }
    std::fputc('\n', stdout);
  }
  GlobalUnlock(block);
  return 0;
}

int Set(const char* escaped) {
  std::string text = Unescaped(escaped);
  // The clipboard wants a window as the owner of what is put there.
  WindowHandle owner(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!owner || !block) return 1;
  void* bytes = GlobalLock(block.Get());
  if (bytes == nullptr) return 1;
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block.Get());
  ClipboardScope clipboard(owner.Get());
  if (!clipboard.IsOpen() || !EmptyClipboard() || SetClipboardData(CF_TEXT, block.Get()) == nullptr) return 1;
  // Once the clipboard took the block, it is the clipboard's to free.
  block.Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--set") == 0) return Set(argv[2]);
  return Print(argc == 2 && std::strcmp(argv[1], "--raw") == 0);
}
