// Canvas: the thin layer over a device context that every widget paints
// through. It clips each call to its clip rectangle before GDI sees it, so
// drawing outside costs nothing, and remembers the selected font and pen and
// the colours, so that setting the same value again makes no GDI call.
//
// The canvas borrows its context; whoever made the context deletes it, after
// RestoreObjects has put the context's own font and pen back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "graphics/colours.h"
#include "graphics/rect.h"

class FontRecord;
struct FontMetrics;

class Canvas {
 public:
  // Forgets every cached selection and clips to (0, 0, width, height). The
  // colours cached are the ones the context holds now, so the first change
  // of either colour is never skipped.
  void Init(HDC dc, std::int32_t width, std::int32_t height);
  void SetClipSize(std::int32_t width, std::int32_t height) { clip_ = Rect{0, 0, width, height}; }
  void SetClip(const Rect& clip) { clip_ = clip; }

  HDC Dc() const { return dc_; }
  const Rect& Clip() const { return clip_; }
  std::int32_t LineHeight() const { return line_height_; }
  GdiColour BackColour() const { return back_colour_; }
  // In high-contrast mode, text whose colours are not legible on their fill
  // is drawn in the system's colours (graphics/contrast.h).
  void SetHighContrast(bool on) { high_contrast_ = on; }

  void SelectFont(const FontRecord& font);
  void SelectPen(HPEN pen);
  // Puts the context's own font and pen back; the next selection starts over.
  void RestoreObjects();

  void SetTextColour(GdiColour colour);
  void SetBackColour(GdiColour colour);
  void SetColours(GdiColour text, GdiColour back) {
    SetTextColour(text);
    SetBackColour(back);
  }

  // Fills the rectangle with the background colour.
  void FillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  // Fills `rect` with the background colour and writes the text at (x, y),
  // clipped to it. Each character advances by the width measured for the
  // selected font, so text lands where the program's measuring says.
  void TextOutRect(std::int32_t x, std::int32_t y, const Rect& rect, const char* text, std::size_t length);
  // The same, `indent` right of the rectangle's left edge and centred in its height.
  void TextOutCentredV(std::int32_t indent, const Rect& rect, const char* text, std::size_t length);
  // The dotted rectangle that marks the keyboard focus, as Windows draws it.
  // It inverts what lies below, so the caller paints that area first in the
  // same pass; the context's clip region keeps it inside the update.
  void FocusRect(const Rect& rect);
  // Takes the rectangle out of the context's clip region.
  void ExcludeRect(const Rect& rect);

  // One-pixel lines with the selected pen; the far end is not drawn.
  void HLine(std::int32_t x1, std::int32_t y, std::int32_t x2);
  void VLine(std::int32_t x, std::int32_t y1, std::int32_t y2);
  // A raised three-dimensional frame inside the rectangle.
  void Bevel(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);

  // Gradients from the first colour (left or top) to the second, one column
  // or row at a time; the context's background colour is the cached one again
  // afterwards.
  void GreyGradientH(const Rect& rect, std::uint8_t grey1, std::uint8_t grey2);
  void GreyGradientV(const Rect& rect, std::uint8_t grey1, std::uint8_t grey2);
  void GradientV(const Rect& rect, GdiColour colour1, GdiColour colour2);

 private:
  void Polyline3(HPEN pen, POINT from, POINT via, POINT to);
  void FillBand(const Rect& band, GdiColour colour);

  HDC dc_ = nullptr;
  std::int32_t line_height_ = 0;
  HFONT font_ = nullptr;
  const FontMetrics* metrics_ = nullptr;
  HFONT saved_font_ = nullptr;
  HPEN pen_ = nullptr;
  HPEN saved_pen_ = nullptr;
  GdiColour text_colour_ = 0;
  GdiColour back_colour_ = 0;
  bool high_contrast_ = false;
  Rect clip_;
};
