// A font and the metrics the program measures text with. The widths of all
// 256 character codes are read once, when the font is made, so that measuring
// a string never asks GDI again.
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-createfontindirecta
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "graphics/font_metrics.h"
#include "handles/gdi_handles.h"
#include "text/fixed_text.h"

// The style argument: the two low bits choose the weight, the others add.
inline constexpr int kFontLight = 1;   // weight 200
inline constexpr int kFontNormal = 2;  // weight 400
inline constexpr int kFontBold = 3;    // weight 700
inline constexpr int kFontItalic = 4;
inline constexpr int kFontUnderline = 8;

// The quality the program asks for (CLEARTYPE_QUALITY).
inline constexpr int DefaultQuality = 5;

class FontRecord {
 public:
  // Makes the font and measures it in `context`. Without a context the
  // height assumes 96 dots per inch and the screen context measures. False,
  // the record empty, when GDI refuses the font.
  bool Create(HDC context, const char* face, int points, int style, int quality);
  void Delete();

  HFONT Handle() const { return handle_.Get(); }
  const FontMetrics& Metrics() const { return metrics_; }
  std::int32_t LineHeight() const { return metrics_.line_height; }

 private:
  FontObject handle_;
  FontMetrics metrics_;
};

inline std::int32_t TextWidth(const FontRecord& font, const char* text, std::size_t length) {
  return TextWidth(font.Metrics(), text, length);
}

// What a font was made with, read back from its handle.
struct FontParameters {
  int points = 0;
  int style = 0;
  int quality = 0;
  FixedText<LF_FACESIZE - 1> face;
};
FontParameters GetFontParameters(HFONT font);
