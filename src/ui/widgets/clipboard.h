// Text on the system clipboard, as CF_TEXT (ANSI with a closing NUL). The
// clipboard is opened with a window of the program, which owns what it
// puts there; the block handed over then belongs to the clipboard.
//
// https://learn.microsoft.com/windows/win32/dataxchg/using-the-clipboard
#pragma once

#include <string>
#include <string_view>

class Widget;

// Puts `text` on the clipboard for `widget`'s window; false (clipboard
// unchanged) when memory or the clipboard is refused.
bool CopyTextToClipboard(const Widget& widget, std::string_view text);

// The clipboard's text and the size of the block it came in (which may be
// larger than the text); false when there is no text.
struct ClipboardText {
  std::string bytes;
  std::size_t block_size = 0;
};
bool ReadClipboardText(const Widget& widget, ClipboardText& out);
