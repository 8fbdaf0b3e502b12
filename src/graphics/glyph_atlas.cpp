// Reading glyph coverage out of the atlas and blending it into an image.
#include "graphics/glyph_atlas.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "graphics/compositing.h"
#include "graphics/rect.h"

std::int32_t GlyphAtlas::CellWidthFor(const FontMetrics& metrics) {
  return *std::max_element(std::begin(metrics.widths), std::end(metrics.widths)) + 5;
}

bool GlyphAtlas::Assign(Image atlas, const FontMetrics& metrics) {
  atlas_.Release();
  metrics_ = metrics;
  cell_width_ = CellWidthFor(metrics);
  const bool fits = !atlas.Empty() && atlas.BitsPerPixel() == 24 &&
                    atlas.Width() == static_cast<std::uint32_t>(kCellsPerSide * cell_width_) &&
                    atlas.Height() == static_cast<std::uint32_t>(kCellsPerSide * metrics.line_height);
  if (fits) atlas_ = std::move(atlas);
  return fits;
}

std::int32_t GlyphAtlas::TextWidth(const char* text) const { return ::TextWidth(metrics_, text, std::strlen(text)); }

void GlyphAtlas::DrawTextOnImage(Image& image, std::int32_t x, std::int32_t y, const char* text, Pixel colour) const {
  if (atlas_.Empty() || image.Empty() || image.BitsPerPixel() != 32) return;
  const auto right = static_cast<std::int32_t>(image.Width());
  std::int32_t pen = x;
  for (const char* at = text; *at != '\0' && pen < right; ++at) {
    const auto code = static_cast<unsigned char>(*at);
    DrawGlyph(image, pen, y, code, colour);
    pen += metrics_.widths[code];
  }
}

void GlyphAtlas::DrawGlyph(Image& image, std::int32_t pen, std::int32_t y, unsigned char code, Pixel colour) const {
  // The glyph box: its advance plus one column each side for overhang.
  const Rect box =
      Intersect(Rect{pen, y, pen + metrics_.widths[code] + 2, y + metrics_.line_height},
                Rect{0, 0, static_cast<std::int32_t>(image.Width()), static_cast<std::int32_t>(image.Height())});
  if (box.IsEmpty()) return;
  const std::int32_t cell_left = code % kCellsPerSide * cell_width_;
  const std::int32_t cell_top = code / kCellsPerSide * metrics_.line_height;
  for (std::int32_t py = box.top; py < box.bottom; ++py) {
    const std::uint8_t* atlas_row = atlas_.Row(static_cast<std::uint32_t>(cell_top + py - y));
    for (std::int32_t px = box.left; px < box.right; ++px) {
      const std::uint8_t* bgr = atlas_row + std::size_t(cell_left + px - pen) * 3;
      // Dark atlas pixels are opaque ink, light ones none.
      const std::int32_t lightness = (21 * bgr[0] + 72 * bgr[1] + 7 * bgr[2]) / 100;
      Pixel ink = colour;
      ink.alpha = static_cast<std::uint8_t>(255 - lightness);
      const auto ix = static_cast<std::uint32_t>(px);
      const auto iy = static_cast<std::uint32_t>(py);
      PutPixel(image, ix, iy, BlendPixel(PixelAt(image, ix, iy), ink));
    }
  }
}
