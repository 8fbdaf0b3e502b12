// Drawing images on a canvas under Wine: the clipped blit takes the right
// rows of a bottom-up image, nothing visible means no GDI call, and a
// centred image gets its surroundings filled.
#include "graphics/image_drawing.h"

#include <gtest/gtest.h>

#include "dib_surface.h"
#include "graphics/canvas.h"
#include "graphics/compositing.h"
#include "graphics/image.h"

namespace {

constexpr GdiColour kRed = Rgb(255, 0, 0);

// A 3 x 3 image whose pixel (x, y) has red 10 x + 1 and green 10 y + 1.
Image Numbered() {
  Image image;
  EXPECT_TRUE(image.Create32(3, 3));
  for (std::uint8_t y = 0; y < 3; ++y)
    for (std::uint8_t x = 0; x < 3; ++x)
      PutPixel(image, x, y,
               Pixel{0, static_cast<std::uint8_t>(10 * y + 1), static_cast<std::uint8_t>(10 * x + 1), 255});
  return image;
}

GdiColour Numbered(int x, int y) {
  return Rgb(static_cast<std::uint8_t>(10 * x + 1), static_cast<std::uint8_t>(10 * y + 1), 0);
}

}  // namespace

TEST(DrawImage, ClippedBlitTakesTheMatchingPixels) {
  DibSurface surface(6, 6, kRed);
  Canvas canvas;
  canvas.Init(surface.Dc(), 6, 6);
  canvas.SetClip(Rect{0, 0, 2, 5});
  const Image image = Numbered();
  DrawImage(canvas, -1, 3, image);
  // Image columns 1..2 and rows 0..1 land at columns 0..1, rows 3..4.
  EXPECT_EQ(surface.At(0, 3), Numbered(1, 0));
  EXPECT_EQ(surface.At(1, 3), Numbered(2, 0));
  EXPECT_EQ(surface.At(1, 4), Numbered(2, 1));
  EXPECT_EQ(surface.At(1, 5), kRed);
  EXPECT_EQ(surface.At(2, 3), kRed);
}

TEST(DrawImage, NothingVisibleMakesNoGdiCall) {
  DibSurface surface(6, 6, kRed);
  Canvas canvas;
  canvas.Init(surface.Dc(), 6, 6);
  const Image image = Numbered();
  CountingGdi gdi;
  DrawImage(canvas, 6, 0, image);
  DrawImage(canvas, -3, 2, image);
  DrawImage(canvas, 1, -3, image);
  canvas.SetClip(Rect{2, 2, 2, 6});
  DrawImage(canvas, 0, 0, image);
  DrawImage(canvas, 0, 0, Image{});
  EXPECT_EQ(gdi.setDIBits, 0);
  canvas.SetClipSize(6, 6);
  DrawImage(canvas, 5, 5, image);
  EXPECT_EQ(gdi.setDIBits, 1);
}

TEST(DrawImageCentred, FillsAroundTheImageWithTheBackgroundColour) {
  DibSurface surface(8, 6, kRed);
  Canvas canvas;
  canvas.Init(surface.Dc(), 8, 6);
  canvas.SetBackColour(FaceColour);
  // A 3 x 3 image in a 6 x 4 rectangle at (1, 1): offsets 1 and 0 (0.5 truncated).
  DrawImageCentred(canvas, 1, 1, 6, 4, Numbered());
  EXPECT_EQ(surface.At(1, 1), FaceColour);  // left band
  EXPECT_EQ(surface.At(2, 1), Numbered(0, 0));
  EXPECT_EQ(surface.At(4, 3), Numbered(2, 2));
  EXPECT_EQ(surface.At(5, 2), FaceColour);  // right band
  EXPECT_EQ(surface.At(6, 4), FaceColour);
  EXPECT_EQ(surface.At(3, 4), FaceColour);  // below
  EXPECT_EQ(surface.At(7, 1), kRed);        // outside the rectangle
  EXPECT_EQ(surface.At(1, 5), kRed);
}
