// The compositing arithmetic: integer only, each division truncating, so the
// results are the same on every build.
#include "graphics/compositing.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "graphics/image.h"
#include "graphics/rect.h"

namespace {

bool Is32Bit(const Image& image) { return !image.Empty() && image.BitsPerPixel() == 32; }

std::uint8_t Channel(std::int32_t value) { return static_cast<std::uint8_t>(value); }

Pixel GradientPixel(Pixel first, Pixel last, std::int32_t step, std::int32_t steps, std::uint8_t alpha) {
  return Pixel{Channel(GradientValue(first.blue, last.blue, step, steps)),
               Channel(GradientValue(first.green, last.green, step, steps)),
               Channel(GradientValue(first.red, last.red, step, steps)), alpha};
}

}  // namespace

Pixel BlendPixel(Pixel destination, Pixel source) {
  if (source.alpha == 0) return destination;
  if (destination.alpha == 0) return source;
  const std::int32_t source_weight = 255 * source.alpha;
  const std::int32_t destination_weight = (255 - source.alpha) * destination.alpha;
  const std::int32_t total = source_weight + destination_weight;
  auto mix = [&](std::uint8_t s, std::uint8_t d) {
    return Channel((s * source_weight + d * destination_weight) / total);
  };
  return Pixel{mix(source.blue, destination.blue), mix(source.green, destination.green),
               mix(source.red, destination.red), std::max(destination.alpha, source.alpha)};
}

Pixel PixelAt(const Image& image, std::uint32_t x, std::uint32_t y) {
  Pixel pixel;
  std::memcpy(&pixel, image.Row(y) + std::size_t{x} * 4, 4);
  return pixel;
}

void PutPixel(Image& image, std::uint32_t x, std::uint32_t y, Pixel pixel) {
  std::memcpy(image.Row(y) + std::size_t{x} * 4, &pixel, 4);
}

void FlattenOnGradient(Image& image, Pixel bottom, Pixel top) {
  if (!Is32Bit(image) || !bottom.IsOpaque() || !top.IsOpaque()) return;
  const auto height = static_cast<std::int32_t>(image.Height());
  for (std::int32_t row = 0; row < height; ++row) {
    // Rows counted from the bottom, as they are stored.
    const Pixel background = bottom == top ? bottom : GradientPixel(bottom, top, row, height, 255);
    const auto y = static_cast<std::uint32_t>(height - 1 - row);
    for (std::uint32_t x = 0; x < image.Width(); ++x) {
      const Pixel pixel = PixelAt(image, x, y);
      if (pixel.IsOpaque()) continue;
      const std::int32_t a = pixel.alpha;
      auto lay = [a](std::uint8_t p, std::uint8_t b) { return Channel((a * p + (255 - a) * b) / 255); };
      PutPixel(image, x, y,
               Pixel{lay(pixel.blue, background.blue), lay(pixel.green, background.green),
                     lay(pixel.red, background.red), 255});
    }
  }
}

void FillGradientRect(Image& image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Pixel top,
                      Pixel bottom) {
  if (!Is32Bit(image)) return;
  const Rect area = Intersect(Rect{x, y, x + width, y + height}, Rect{0, 0, static_cast<std::int32_t>(image.Width()),
                                                                      static_cast<std::int32_t>(image.Height())});
  if (area.IsEmpty()) return;
  for (std::int32_t row = area.top; row < area.bottom; ++row) {
    const std::int32_t step = row - y;
    const Pixel fill =
        GradientPixel(top, bottom, step, height, Channel(GradientValue(top.alpha, bottom.alpha, step, height)));
    for (std::int32_t column = area.left; column < area.right; ++column) {
      PutPixel(image, static_cast<std::uint32_t>(column), static_cast<std::uint32_t>(row), fill);
    }
  }
}

void FillGradient(Image& image, Pixel top, Pixel bottom) {
  FillGradientRect(image, 0, 0, static_cast<std::int32_t>(image.Width()), static_cast<std::int32_t>(image.Height()),
                   top, bottom);
}

void BlendImage(Image& destination, std::int32_t x, std::int32_t y, const Image& source) {
  if (!Is32Bit(destination) || !Is32Bit(source)) return;
  const Rect covered = Intersect(
      Rect{x, y, x + static_cast<std::int32_t>(source.Width()), y + static_cast<std::int32_t>(source.Height())},
      Rect{0, 0, static_cast<std::int32_t>(destination.Width()), static_cast<std::int32_t>(destination.Height())});
  if (covered.IsEmpty()) return;
  for (std::int32_t row = covered.top; row < covered.bottom; ++row) {
    for (std::int32_t column = covered.left; column < covered.right; ++column) {
      const auto dx = static_cast<std::uint32_t>(column);
      const auto dy = static_cast<std::uint32_t>(row);
      const Pixel over = PixelAt(source, static_cast<std::uint32_t>(column - x), static_cast<std::uint32_t>(row - y));
      PutPixel(destination, dx, dy, BlendPixel(PixelAt(destination, dx, dy), over));
    }
  }
}

bool ConvertTo32Bits(Image& image) {
  if (image.Empty() || image.BitsPerPixel() == 32) return true;
  const std::uint32_t bits = image.BitsPerPixel();
  if (bits != 8 && bits != 24) return false;
  Image converted;
  if (!converted.Create32(static_cast<std::uint16_t>(image.Width()), static_cast<std::uint16_t>(image.Height()))) {
    return false;
  }
  const std::uint8_t* table = image.ColourTable();
  const std::uint32_t colours = image.ColourCount();
  for (std::uint32_t y = 0; y < image.Height(); ++y) {
    const std::uint8_t* row = image.Row(y);
    for (std::uint32_t x = 0; x < image.Width(); ++x) {
      Pixel pixel{0, 0, 0, 255};
      if (bits == 24) {
        pixel = Pixel{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 255};
      } else if (row[x] < colours) {
        const std::uint8_t* entry = table + std::size_t{row[x]} * 4;
        pixel = Pixel{entry[0], entry[1], entry[2], entry[3]};
      }
      PutPixel(converted, x, y, pixel);
    }
  }
  image = std::move(converted);
  return true;
}
