// Making fonts, measuring them once, and reading their parameters back.
#include "graphics/font_record.h"

#include <algorithm>

#include "graphics/graphics_resources.h"

namespace {

LONG WeightOf(int style) {
  switch (style & 3) {
    case kFontLight: return FW_EXTRALIGHT;
    case kFontNormal: return FW_NORMAL;
    case kFontBold: return FW_BOLD;
    default: return FW_DONTCARE;
  }
}

}  // namespace

bool FontRecord::Create(HDC context, const char* face, int points, int style, int quality) {
  Delete();
  LOGFONTA font{};
  font.lfHeight = context ? -MulDiv(points, GetDeviceCaps(context, LOGPIXELSY), 72) : -MulDiv(points, 4, 3);
  font.lfWeight = WeightOf(style);
  font.lfItalic = (style & kFontItalic) ? TRUE : FALSE;
  font.lfUnderline = (style & kFontUnderline) ? TRUE : FALSE;
  font.lfQuality = static_cast<BYTE>(quality);
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  handle_.Reset(CreateFontIndirectA(&font));
  if (!handle_) return false;

  HDC measure = context ? context : Graphics().Screen();
  ScopedSelection selected(measure, handle_.Get());
  TEXTMETRICA text{};
  INT widths[256];
  if (!selected || !GetTextMetricsA(measure, &text) || !GetCharWidth32A(measure, 0, 255, widths)) {
    Delete();
    return false;
  }
  metrics_.average_width = text.tmAveCharWidth;
  metrics_.line_height = text.tmHeight + text.tmExternalLeading;
  // The fonts used here stay far below 256 pixels per character.
  for (int code = 0; code < 256; ++code)
    metrics_.widths[code] = static_cast<std::uint8_t>(std::clamp(widths[code], 0, 255));
  return true;
}

void FontRecord::Delete() {
  handle_.Reset();
  metrics_ = FontMetrics{};
}

FontParameters GetFontParameters(HFONT font) {
  FontParameters parameters;
  LOGFONTA description{};
  if (!GetObjectA(font, sizeof description, &description)) return parameters;
  parameters.points = -MulDiv(description.lfHeight, 3, 4);
  parameters.style = description.lfWeight <= 200 ? kFontLight : description.lfWeight <= 400 ? kFontNormal : kFontBold;
  if (description.lfItalic) parameters.style += kFontItalic;
  parameters.quality = description.lfQuality;
  parameters.face.Assign(description.lfFaceName);
  return parameters;
}
