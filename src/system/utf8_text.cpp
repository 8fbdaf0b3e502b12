#include "system/utf8_text.h"

#include <windows.h>

#include <vector>

std::string AnsiToUtf8(const char* text) {
  int wide_length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (wide_length <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<std::size_t>(wide_length));
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wide_length);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), length, nullptr, nullptr);
  utf8.pop_back();  // the NUL
  return utf8;
}
