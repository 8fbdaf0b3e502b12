// Copying images to a canvas. Pictures arrive here already flattened onto
// their background, so this is a plain opaque SetDIBitsToDevice copy; any
// alpha in the image is ignored.
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-setdibitstodevice
#pragma once

#include <cstdint>

class Canvas;
class Image;

// Draws the image with its top-left corner at (x, y), clipped to the
// canvas's clip rectangle; no GDI call when nothing of it is visible.
void DrawImage(Canvas& canvas, std::int32_t x, std::int32_t y, const Image& image);

// Centres the image in the rectangle (at its left or top edge when it does
// not fit) and fills the rest of the rectangle with the background colour.
void DrawImageCentred(Canvas& canvas, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      const Image& image);
