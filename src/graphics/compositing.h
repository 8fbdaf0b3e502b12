// Pixel arithmetic on images in memory: alpha blending, flattening a picture
// onto a gradient background, gradient fills and blending one image over
// another. Alpha is blended only here, between images, never on a device
// context; the results go to the screen as plain opaque copies.
//
// All operations act on 32-bit images (blue, green, red, straight alpha) and
// leave any other image alone. Positions are clipped to the image, so no
// operation writes outside it.
#pragma once

#include <cstdint>

#include "graphics/colours.h"

class Image;

// first − (first − last) × step / (steps − 1), truncating towards zero: the
// value at `step` (0 to steps − 1) of a ramp; the first value when the ramp
// has a single step.
constexpr std::int32_t GradientValue(std::int32_t first, std::int32_t last, std::int32_t step, std::int32_t steps) {
  return steps <= 1 ? first : first - (first - last) * step / (steps - 1);
}

// `source` over `destination`: a transparent source changes nothing, a source
// over a transparent destination replaces it, and otherwise each channel is
// the mean weighted by the two alphas (rounded down) and alpha the larger one.
Pixel BlendPixel(Pixel destination, Pixel source);

// Pixel (x, y) of a 32-bit image, y = 0 the top row; the caller keeps x and y
// inside the image.
Pixel PixelAt(const Image& image, std::uint32_t x, std::uint32_t y);
void PutPixel(Image& image, std::uint32_t x, std::uint32_t y, Pixel pixel);

// Lays every pixel that is not opaque onto a vertical gradient from
// `bottom` (the picture's bottom row) to `top`; afterwards the picture is
// opaque. Does nothing unless both colours are opaque.
void FlattenOnGradient(Image& image, Pixel bottom, Pixel top);

// Fills the rectangle, row by row, with a gradient from `top` to `bottom` in
// all four bytes. The part outside the image is left out.
void FillGradientRect(Image& image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, Pixel top,
                      Pixel bottom);
void FillGradient(Image& image, Pixel top, Pixel bottom);

// Blends `source` over `destination` with its top-left corner at (x, y),
// clipped to the destination.
void BlendImage(Image& destination, std::int32_t x, std::int32_t y, const Image& source);

// Turns an 8-bit (through its colour table, whose fourth byte is the alpha)
// or 24-bit (opaque) image into a 32-bit one of the same picture; a 32-bit
// image stays as it is. False, the image unchanged, when memory runs out.
bool ConvertTo32Bits(Image& image);
