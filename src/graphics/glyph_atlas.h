// Text drawn into images through a prebuilt atlas of the font's glyphs, which
// gives antialiased text with an alpha channel and costs no GDI call per
// string. The atlas is built once per font on the Win32 side (ImageFont);
// reading it is platform-free.
//
// The atlas is a 24-bit image of 16 x 16 cells, one per character code: code
// 16 r + c sits in cell row r, column c. Each cell is CellWidthFor(metrics)
// wide and one line high, its glyph drawn dark on light with the text origin
// one pixel right of the cell's left edge.
#pragma once

#include <cstdint>

#include "graphics/colours.h"
#include "graphics/font_metrics.h"
#include "graphics/image.h"

class GlyphAtlas {
 public:
  static constexpr std::int32_t kCellsPerSide = 16;

  // The widest character and a margin for the one-pixel origin and any
  // overhang of antialiased edges.
  static std::int32_t CellWidthFor(const FontMetrics& metrics);

  // Takes the atlas drawn for `metrics`; false, keeping no atlas, when it is
  // not a 24-bit image of 16 x 16 cells of that size.
  bool Assign(Image atlas, const FontMetrics& metrics);

  std::int32_t TextWidth(const char* text) const;
  // Draws `text` with its pen starting at x and its line top at y, in
  // `colour` (its alpha is replaced by the glyph's coverage), blended over a
  // 32-bit image. Stops at the first character whose pen is at or beyond the
  // image's right edge.
  void DrawTextOnImage(Image& image, std::int32_t x, std::int32_t y, const char* text, Pixel colour) const;

  const FontMetrics& Metrics() const { return metrics_; }
  std::int32_t CellWidth() const { return cell_width_; }
  const Image& Atlas() const { return atlas_; }

 private:
  void DrawGlyph(Image& image, std::int32_t pen, std::int32_t y, unsigned char code, Pixel colour) const;

  Image atlas_;
  std::int32_t cell_width_ = 0;
  FontMetrics metrics_;
};
