// The compositing arithmetic against small hand-computed cases: blending,
// flattening onto a gradient, gradient fills, blending images with clipping,
// widening 8- and 24-bit pictures, and the clipping of a blit.
#include "graphics/compositing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics/image.h"
#include "graphics/rect.h"
#include "pixel_print.h"

namespace {

Image Filled(std::uint16_t width, std::uint16_t height, Pixel pixel) {
  Image image;
  EXPECT_TRUE(image.Create32(width, height));
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) PutPixel(image, x, y, pixel);
  return image;
}

std::vector<Pixel> Column(const Image& image, std::uint32_t x) {
  std::vector<Pixel> pixels;
  for (std::uint32_t y = 0; y < image.Height(); ++y) pixels.push_back(PixelAt(image, x, y));
  return pixels;
}

}  // namespace

TEST(BlendPixel, HandComputedCases) {
  struct Case {
    const char* what;
    Pixel destination, source, expected;
  } cases[] = {
      {"transparent source changes nothing", {1, 2, 3, 200}, {9, 9, 9, 0}, {1, 2, 3, 200}},
      {"over a transparent destination the source replaces it", {1, 2, 3, 0}, {9, 8, 7, 6}, {9, 8, 7, 6}},
      {"opaque over opaque gives the source", {1, 2, 3, 255}, {9, 8, 7, 255}, {9, 8, 7, 255}},
      // 255*0*32640 ... : (0*32640 + 255*32385) / 65025 = 127.0
      {"half over opaque white, rounded down", {255, 255, 255, 255}, {0, 0, 0, 128}, {127, 127, 127, 255}},
      // ws = 255*128, wd = 127*255: (200*32640 + 255*32385) / 65025 = 227.4
      {"half over opaque white, mixed", {255, 255, 255, 255}, {200, 0, 255, 128}, {227, 127, 255, 255}},
      // ws = 12750, wd = 205*100 = 20500: 255*12750/33250 = 97.8; alpha the larger
      {"both partly transparent", {0, 255, 0, 100}, {255, 0, 0, 50}, {97, 157, 0, 100}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlendPixel(c.destination, c.source), c.expected) << c.what;
}

TEST(FlattenOnGradient, FaceGreyShowsWhereThePictureWasTransparent) {
  Image image = Filled(2, 1, Pixel{0, 0, 0, 0});
  PutPixel(image, 1, 0, Pixel{10, 20, 30, 255});
  FlattenOnGradient(image, FacePixel, FacePixel);
  EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{219, 219, 219, 255}));
  EXPECT_EQ(PixelAt(image, 1, 0), (Pixel{10, 20, 30, 255}));
}

TEST(FlattenOnGradient, FirstColourAtTheBottomSecondAtTheTop) {
  Image image = Filled(2, 3, Pixel{0, 0, 0, 0});
  // Column 1 is a fifth opaque white: (51*255 + 204*background) / 255.
  for (std::uint32_t y = 0; y < 3; ++y) PutPixel(image, 1, y, Pixel{255, 255, 255, 51});
  FlattenOnGradient(image, Pixel{0, 0, 10, 255}, Pixel{200, 100, 0, 255});
  // Stored row r from the bottom: 0 - (0 - 200) * r / 2 and so on.
  EXPECT_EQ(Column(image, 0), (std::vector<Pixel>{{200, 100, 0, 255}, {100, 50, 5, 255}, {0, 0, 10, 255}}));
  EXPECT_EQ(Column(image, 1), (std::vector<Pixel>{{211, 131, 51, 255}, {131, 91, 55, 255}, {51, 51, 59, 255}}));
}

TEST(FlattenOnGradient, NeedsTwoOpaqueColours) {
  Image image = Filled(1, 2, Pixel{1, 2, 3, 4});
  FlattenOnGradient(image, Transparent, Transparent);
  FlattenOnGradient(image, WhitePixel, Pixel{0, 0, 0, 254});
  EXPECT_EQ(Column(image, 0), (std::vector<Pixel>(2, Pixel{1, 2, 3, 4})));
}

TEST(FlattenOnGradient, OneRowTakesTheFirstColour) {
  Image image = Filled(1, 1, Transparent);
  FlattenOnGradient(image, Pixel{1, 2, 3, 255}, WhitePixel);
  EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{1, 2, 3, 255}));
}

TEST(FillGradientRect, RampsAllFourBytesWithTruncation) {
  Image image = Filled(1, 4, Transparent);
  FillGradient(image, Pixel{10, 0, 255, 0}, Pixel{0, 10, 0, 255});
  // 10 - 10*i/3 and 0 + 10*i/3, truncated: 10 7 4 0 and 0 3 6 10.
  EXPECT_EQ(Column(image, 0), (std::vector<Pixel>{{10, 0, 255, 0}, {7, 3, 170, 85}, {4, 6, 85, 170}, {0, 10, 0, 255}}));
}

TEST(FillGradientRect, OneRowTakesTheTopColour) {
  Image image = Filled(1, 1, Transparent);
  FillGradientRect(image, 0, 0, 1, 1, Pixel{5, 6, 7, 8}, WhitePixel);
  EXPECT_EQ(PixelAt(image, 0, 0), (Pixel{5, 6, 7, 8}));
}

TEST(FillGradientRect, PartOutsideTheImageIsLeftOutAndTheRampKeepsItsSteps) {
  Image image = Filled(2, 2, Transparent);
  // Rows -1 .. 2 of a 4-row ramp from 0 to 30: only rows 0 and 1 (values 10, 20) land.
  FillGradientRect(image, 1, -1, 5, 4, Pixel{0, 0, 0, 0}, Pixel{30, 30, 30, 30});
  EXPECT_EQ(Column(image, 0), (std::vector<Pixel>(2, Transparent)));
  EXPECT_EQ(Column(image, 1), (std::vector<Pixel>{{10, 10, 10, 10}, {20, 20, 20, 20}}));
  FillGradientRect(image, 2, 0, 3, 3, WhitePixel, WhitePixel);
  FillGradientRect(image, -5, -5, 3, 3, WhitePixel, WhitePixel);
  EXPECT_EQ(Column(image, 0), (std::vector<Pixel>(2, Transparent)));
}

TEST(BlendImage, ClipsTheSourceToTheDestination) {
  const Pixel ink{0, 0, 255, 255};
  const Image source = Filled(2, 2, ink);
  struct Case {
    const char* what;
    std::int32_t x, y;
    std::vector<Pixel> expected_top_row;  // of a 3 x 3 destination
  } cases[] = {
      {"entirely left", -2, 0, {WhitePixel, WhitePixel, WhitePixel}},
      {"entirely above", 0, -2, {WhitePixel, WhitePixel, WhitePixel}},
      {"at the right edge", 3, 0, {WhitePixel, WhitePixel, WhitePixel}},
      {"partly left and above", -1, -1, {ink, WhitePixel, WhitePixel}},
      {"partly right", 2, 0, {WhitePixel, WhitePixel, ink}},
  };
  for (const Case& c : cases) {
    Image destination = Filled(3, 3, WhitePixel);
    BlendImage(destination, c.x, c.y, source);
    std::vector<Pixel> top{PixelAt(destination, 0, 0), PixelAt(destination, 1, 0), PixelAt(destination, 2, 0)};
    EXPECT_EQ(top, c.expected_top_row) << c.what;
  }
}

TEST(BlendImage, BlendsEachPixelAtItsOffset) {
  Image source = Filled(2, 1, Transparent);
  PutPixel(source, 1, 0, Pixel{0, 0, 0, 128});
  Image destination = Filled(3, 2, WhitePixel);
  BlendImage(destination, 1, 1, source);
  EXPECT_EQ(PixelAt(destination, 1, 1), WhitePixel);
  EXPECT_EQ(PixelAt(destination, 2, 1), (Pixel{127, 127, 127, 255}));
  EXPECT_EQ(PixelAt(destination, 2, 0), WhitePixel);
}

TEST(ConvertTo32Bits, WidensPaletteAndTruecolourPictures) {
  Image palette;
  ASSERT_TRUE(palette.Create8(2, 1, 256));
  const std::uint8_t entry[4] = {1, 2, 3, 0};
  std::memcpy(palette.ColourTable() + 4 * 7, entry, 4);
  palette.ColourTable()[4 * 9 + 3] = 255;
  palette.Row(0)[0] = 7;
  palette.Row(0)[1] = 9;
  ASSERT_TRUE(ConvertTo32Bits(palette));
  EXPECT_EQ(palette.BitsPerPixel(), 32u);
  EXPECT_EQ(PixelAt(palette, 0, 0), (Pixel{1, 2, 3, 0}));
  EXPECT_EQ(PixelAt(palette, 1, 0), (Pixel{0, 0, 0, 255}));

  Image truecolour;
  ASSERT_TRUE(truecolour.Create24(1, 2));
  std::memcpy(truecolour.Row(1), "\x10\x20\x30", 3);
  ASSERT_TRUE(ConvertTo32Bits(truecolour));
  EXPECT_EQ(PixelAt(truecolour, 0, 1), (Pixel{0x10, 0x20, 0x30, 255}));
}

TEST(ClipImageBlit, FindsTheVisiblePartAndItsBottomUpSource) {
  const Rect clip{10, 10, 20, 20};
  ImageBlit blit;
  // Touching the clip from outside on each side: nothing to draw.
  EXPECT_FALSE(ClipImageBlit(clip, 6, 12, 4, 4, blit));
  EXPECT_FALSE(ClipImageBlit(clip, 20, 12, 4, 4, blit));
  EXPECT_FALSE(ClipImageBlit(clip, 12, 6, 4, 4, blit));
  EXPECT_FALSE(ClipImageBlit(clip, 12, 20, 4, 4, blit));
  EXPECT_FALSE(ClipImageBlit(clip, 12, 12, 0, 4, blit));

  // A 4 x 4 image at (8, 17): columns 2..3 and rows 0..2 from its top show;
  // its rows from the bottom start at 4 - 20 + 17 = 1.
  ASSERT_TRUE(ClipImageBlit(clip, 8, 17, 4, 4, blit));
  EXPECT_EQ(blit.target, (Rect{10, 17, 12, 20}));
  EXPECT_EQ(blit.source_x, 2);
  EXPECT_EQ(blit.source_y, 1);
}
