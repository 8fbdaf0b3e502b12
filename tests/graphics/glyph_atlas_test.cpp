// Text drawn into images from a small hand-made atlas: where the ink lands,
// how light atlas pixels become partial alpha, clipping at every edge, and
// text widths from the width table.
#include "graphics/glyph_atlas.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/compositing.h"
#include "pixel_print.h"

namespace {

constexpr unsigned char kCode = 'A';  // cell row 4, column 1

// Every width 2 but 'A' 3, lines 2 high: cells 7 wide. The 'A' glyph is a
// black column at its origin and a mid-grey column beside it.
class GlyphAtlasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(metrics_.widths, 2, sizeof metrics_.widths);
    metrics_.widths[kCode] = 3;
    metrics_.widths[200] = 9;
    metrics_.line_height = 2;
    const std::int32_t cell = GlyphAtlas::CellWidthFor(metrics_);
    ASSERT_EQ(cell, 14);  // the widest, 9, and five
    Image atlas;
    ASSERT_TRUE(atlas.Create24(static_cast<std::uint16_t>(16 * cell), 32));
    for (std::uint32_t y = 0; y < atlas.Height(); ++y) std::memset(atlas.Row(y), 0xFF, atlas.Stride());
    const std::int32_t left = kCode % 16 * cell;
    const std::uint32_t top = kCode / 16 * 2;
    for (std::uint32_t y = top; y < top + 2; ++y) {
      std::memset(atlas.Row(y) + (left + 1) * 3, 0x00, 3);
      // Lightness (21*204 + 72*102 + 7*0) / 100 = 116: ink at alpha 139.
      std::memcpy(atlas.Row(y) + (left + 2) * 3, "\xCC\x66\x00", 3);
    }
    ASSERT_TRUE(font_.Assign(std::move(atlas), metrics_));
  }

  Image White(std::uint16_t width, std::uint16_t height) {
    Image image;
    EXPECT_TRUE(image.Create32(width, height));
    for (std::uint32_t y = 0; y < height; ++y)
      for (std::uint32_t x = 0; x < width; ++x) PutPixel(image, x, y, WhitePixel);
    return image;
  }

  FontMetrics metrics_;
  GlyphAtlas font_;
};

const Pixel kRed{0, 0, 255, 255};
const Pixel kPartRed = BlendPixel(WhitePixel, Pixel{0, 0, 255, 139});

}  // namespace

TEST_F(GlyphAtlasTest, InkLandsAtEachPenPosition) {
  Image image = White(8, 2);
  font_.DrawTextOnImage(image, 0, 0, "AA", kRed);
  const Pixel expected[8] = {WhitePixel, kRed, kPartRed, WhitePixel, kRed, kPartRed, WhitePixel, WhitePixel};
  for (std::uint32_t y = 0; y < 2; ++y)
    for (std::uint32_t x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(image, x, y), expected[x]) << x << "," << y;
}

TEST_F(GlyphAtlasTest, GlyphsAreClippedAtEveryEdge) {
  Image image = White(2, 2);
  // Pen at -1: the black column lands on column 0.
  font_.DrawTextOnImage(image, -1, 1, "A", kRed);
  EXPECT_EQ(PixelAt(image, 0, 0), WhitePixel);
  EXPECT_EQ(PixelAt(image, 0, 1), kRed);
  EXPECT_EQ(PixelAt(image, 1, 1), kPartRed);
  // Beyond the right and the bottom edges nothing is drawn (and nothing read).
  Image untouched = White(2, 2);
  font_.DrawTextOnImage(untouched, 1, -5, "AAAA", kRed);
  font_.DrawTextOnImage(untouched, 2, 0, "A", kRed);
  font_.DrawTextOnImage(untouched, -30, 2, "A", kRed);
  for (std::uint32_t y = 0; y < 2; ++y)
    for (std::uint32_t x = 0; x < 2; ++x) EXPECT_EQ(PixelAt(untouched, x, y), WhitePixel);
}

TEST_F(GlyphAtlasTest, TextWidthSumsTheTable) {
  EXPECT_EQ(font_.TextWidth(""), 0);
  EXPECT_EQ(font_.TextWidth("AbA"), 3 + 2 + 3);
  EXPECT_EQ(font_.TextWidth("\xC8"), 9);  // code 200 uses its own width
}

TEST_F(GlyphAtlasTest, RefusesAnAtlasOfTheWrongShape) {
  Image wrong;
  ASSERT_TRUE(wrong.Create24(10, 32));
  GlyphAtlas font;
  EXPECT_FALSE(font.Assign(std::move(wrong), metrics_));
  Image image = White(2, 2);
  font.DrawTextOnImage(image, 0, 0, "A", kRed);
  EXPECT_EQ(PixelAt(image, 1, 0), WhitePixel);
}
