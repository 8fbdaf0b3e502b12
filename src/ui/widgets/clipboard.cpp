#include "ui/widgets/clipboard.h"

#include <windows.h>

#include <cstring>

#include "handles/clipboard_scope.h"
#include "handles/owned_handle.h"
#include "ui/core/native_window.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/widget.h"

namespace {

HWND WindowOf(const Widget& widget) {
  WidgetHost* host = const_cast<Widget&>(widget).Host();
  HWND window = host != nullptr ? static_cast<HWND>(host->SystemHandle()) : nullptr;
  return window != nullptr ? window : MainWindowHandle();
}

}  // namespace

bool CopyTextToClipboard(const Widget& widget, std::string_view text) {
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
  if (!block) return false;
  auto* bytes = static_cast<char*>(GlobalLock(block.Get()));
  if (bytes == nullptr) return false;
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block.Get());
  ClipboardScope clipboard(WindowOf(widget));
  if (!clipboard.IsOpen() || !EmptyClipboard() || SetClipboardData(CF_TEXT, block.Get()) == nullptr) return false;
  // The clipboard owns the block now.
  block.Release();
  return true;
}

bool ReadClipboardText(const Widget& widget, ClipboardText& out) {
  ClipboardScope clipboard(WindowOf(widget));
  if (!clipboard.IsOpen()) return false;
  HANDLE block = GetClipboardData(CF_TEXT);
  if (block == nullptr) return false;
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  if (bytes == nullptr) return false;
  out.block_size = GlobalSize(block);
  const void* nul = std::memchr(bytes, '\0', out.block_size);
  std::size_t length =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : out.block_size;
  out.bytes.assign(bytes, length);
  GlobalUnlock(block);
  return true;
}
