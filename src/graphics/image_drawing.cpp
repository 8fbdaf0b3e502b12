// The blit itself: the image block is a complete device-independent bitmap
// (header, colour table, bottom-up rows), so GDI reads it as it lies.
#include "graphics/image_drawing.h"

#include <windows.h>

#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/gdi_calls.h"
#include "graphics/image.h"
#include "graphics/rect.h"

void DrawImage(Canvas& canvas, std::int32_t x, std::int32_t y, const Image& image) {
  ImageBlit blit;
  if (image.Empty() || !ClipImageBlit(canvas.Clip(), x, y, image.Width(), image.Height(), blit)) return;
  Gdi().set_di_bits_to_device(canvas.Dc(), blit.target.left, blit.target.top, static_cast<DWORD>(blit.target.Width()),
                              static_cast<DWORD>(blit.target.Height()), blit.source_x, blit.source_y, 0, image.Height(),
                              image.Pixels(), reinterpret_cast<const BITMAPINFO*>(image.Header()), DIB_RGB_COLORS);
}

void DrawImageCentred(Canvas& canvas, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      const Image& image) {
  const auto image_width = static_cast<std::int32_t>(image.Width());
  const auto image_height = static_cast<std::int32_t>(image.Height());
  const std::int32_t left = x + std::max(0, (width - image_width) / 2);
  const std::int32_t top = y + std::max(0, (height - image_height) / 2);
  canvas.FillRect(x, y, left, y + height);
  canvas.FillRect(left + image_width, y, x + width, y + height);
  canvas.FillRect(left, y, left + image_width, top);
  canvas.FillRect(left, top + image_height, left + image_width, y + height);
  DrawImage(canvas, left, top, image);
}
