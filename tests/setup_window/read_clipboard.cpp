// Prints the text on the Windows clipboard, for the test script that copies
// out of the setup's fields and log view. Exit code 1 when there is none.
#include <windows.h>

#include <cstdio>

int main() {
  if (!OpenClipboard(nullptr)) return 1;
  int code = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      std::fputs(text, stdout);
      GlobalUnlock(data);
      code = 0;
    }
  }
  CloseClipboard();
  return code;
}
