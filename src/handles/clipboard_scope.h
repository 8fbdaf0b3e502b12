// The clipboard held open for the length of a scope: it is one for the
// whole session, so every program waits while another leaves it open.
//
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-openclipboard
#pragma once

#include <windows.h>

class ClipboardScope {
 public:
  // `owner` is told when the contents change hands; null for reading.
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;

  bool IsOpen() const { return open_; }

 private:
  bool open_;
};
