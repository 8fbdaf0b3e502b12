// The program's colours in the two forms it draws with: GDI colours (red,
// green and blue in a COLORREF-shaped value) for device contexts, and 32-bit
// pixels (blue, green, red, alpha bytes, as they lie in an image) for the
// compositing of images in memory.
#pragma once

#include <cstdint>

struct Pixel {
  std::uint8_t blue;
  std::uint8_t green;
  std::uint8_t red;
  std::uint8_t alpha;

  constexpr bool operator==(const Pixel& other) const {
    return blue == other.blue && green == other.green && red == other.red && alpha == other.alpha;
  }
  constexpr bool operator!=(const Pixel& other) const { return !(*this == other); }
  constexpr bool IsOpaque() const { return alpha == 255; }
};

// 0x00BBGGRR, the layout of a Win32 COLORREF.
using GdiColour = std::uint32_t;

constexpr GdiColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return GdiColour{red} | GdiColour{green} << 8 | GdiColour{blue} << 16;
}
constexpr GdiColour Grey(std::uint8_t level) { return Rgb(level, level, level); }

constexpr std::uint8_t RedOf(GdiColour colour) { return static_cast<std::uint8_t>(colour); }
constexpr std::uint8_t GreenOf(GdiColour colour) { return static_cast<std::uint8_t>(colour >> 8); }
constexpr std::uint8_t BlueOf(GdiColour colour) { return static_cast<std::uint8_t>(colour >> 16); }

// A GDI colour as an opaque pixel: red and blue change places.
constexpr Pixel PixelOf(GdiColour colour) { return Pixel{BlueOf(colour), GreenOf(colour), RedOf(colour), 255}; }

// The palette. Each of the first six also has a pen (see graphics_resources.h).
inline constexpr GdiColour DarkShadowColour = Grey(64);
inline constexpr GdiColour ShadowColour = Grey(128);
inline constexpr GdiColour WhiteColour = Grey(255);
inline constexpr GdiColour BlackColour = Grey(0);
inline constexpr GdiColour FaceColour = Grey(219);
inline constexpr GdiColour SelectionColour = Rgb(100, 100, 192);
inline constexpr GdiColour HotColour = Rgb(204, 204, 255);
inline constexpr GdiColour HintColour = Rgb(255, 255, 215);
inline constexpr GdiColour EditTintColour = Rgb(222, 232, 255);

inline constexpr Pixel WhitePixel = PixelOf(WhiteColour);
inline constexpr Pixel BlackPixel = PixelOf(BlackColour);
inline constexpr Pixel FacePixel = PixelOf(FaceColour);
// The cache key of pictures kept with their alpha channel.
inline constexpr Pixel Transparent{0, 0, 0, 0};
