// Drawing the 256 glyphs of a font into the atlas bitmap, cell by cell.
#include "graphics/image_font.h"

#include <utility>

#include "graphics/canvas.h"
#include "graphics/font_record.h"
#include "graphics/graphics_resources.h"
#include "graphics/image.h"
#include "handles/gdi_handles.h"

bool ImageFont::SetFont(const FontRecord& font) {
  if (font.Handle() == font_) return true;
  font_ = nullptr;
  Assign(Image{}, font.Metrics());
  const std::int32_t cell_width = CellWidthFor(font.Metrics());
  const std::int32_t line_height = font.LineHeight();
  const std::int32_t width = kCellsPerSide * cell_width;
  const std::int32_t height = kCellsPerSide * line_height;
  if (line_height <= 0) return false;

  HDC screen = Graphics().Screen();
  OwnedDc memory(CreateCompatibleDC(screen));
  BitmapObject bitmap(CreateCompatibleBitmap(screen, width, height));
  if (!memory || !bitmap) return false;
  {
    ScopedSelection selected(memory.Get(), bitmap.Get());
    if (!selected) return false;
    // The context's own colours: dark glyphs on a light ground.
    Canvas canvas;
    canvas.Init(memory.Get(), width, height);
    canvas.SelectFont(font);
    for (std::int32_t code = 0; code < 256; ++code) {
      const std::int32_t left = code % kCellsPerSide * cell_width;
      const std::int32_t top = code / kCellsPerSide * line_height;
      const char character = static_cast<char>(code);
      canvas.TextOutRect(left + 1, top, Rect{left, top, left + cell_width, top + line_height}, &character, 1);
    }
    canvas.RestoreObjects();
  }

  // GetDIBits wants the bitmap out of every context, hence the scope above.
  Image atlas;
  if (!atlas.Create24(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height))) return false;
  BITMAPINFO info{};
  info.bmiHeader = *reinterpret_cast<const BITMAPINFOHEADER*>(atlas.Header());
  std::uint8_t* pixels = atlas.Row(atlas.Height() - 1);  // the bottom row comes first
  if (GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS) != height) {
    return false;
  }
  if (!Assign(std::move(atlas), font.Metrics())) return false;
  font_ = font.Handle();
  return true;
}
