// What the program knows of a font without asking GDI again: the advance
// width of every character code, taken once when the font is made, so that
// measuring text costs no system call.
#pragma once

#include <cstddef>
#include <cstdint>

struct FontMetrics {
  std::uint8_t widths[256] = {};
  std::int32_t average_width = 0;
  std::int32_t line_height = 0;  // height plus external leading
};

// The sum of the widths of the first `length` bytes of `text`.
inline std::int32_t TextWidth(const FontMetrics& metrics, const char* text, std::size_t length) {
  std::int32_t width = 0;
  for (std::size_t i = 0; i < length; ++i) width += metrics.widths[static_cast<unsigned char>(text[i])];
  return width;
}
