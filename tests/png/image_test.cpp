// Guards the image block: row padding, bottom-up storage behind a top-down
// accessor, the header GDI will read, and the size checks that keep a huge
// or overflowing request from allocating a short block.
#include <gtest/gtest.h>

#include <utility>

#include "graphics/image.h"

TEST(Image, LaysOutHeaderColourTableAndPaddedRowsBottomUp) {
  struct Case {
    std::uint16_t width, height, bits;
    std::size_t stride;
  };
  for (Case c : {Case{1, 1, 8, 4}, Case{5, 3, 8, 8}, Case{3, 2, 24, 12}, Case{5, 2, 24, 16}, Case{7, 4, 32, 28}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
    Image image;
    bool created = c.bits == 8    ? image.Create8(c.width, c.height, 256)
                   : c.bits == 24 ? image.Create24(c.width, c.height)
                                  : image.Create32(c.width, c.height);
    ASSERT_TRUE(created);
    EXPECT_EQ(image.Stride(), c.stride);
    const DibHeader* header = image.Header();
    EXPECT_EQ(header->size, 40u);
    EXPECT_EQ(header->width, c.width);
    EXPECT_EQ(header->height, c.height);  // positive: bottom-up
    EXPECT_EQ(header->planes, 1);
    EXPECT_EQ(header->bits_per_pixel, c.bits);
    EXPECT_EQ(header->compression, 0u);
    EXPECT_EQ(header->colours_used, c.bits == 8 ? 256u : 0u);

    const std::uint8_t* pixels = image.Pixels();
    EXPECT_EQ(pixels, reinterpret_cast<const std::uint8_t*>(header) + 40 + (c.bits == 8 ? 1024 : 0));
    // The top row lies last in the block, the bottom row first.
    EXPECT_EQ(image.Row(0), pixels + (c.height - 1) * c.stride);
    EXPECT_EQ(image.Row(c.height - 1u), pixels);
    EXPECT_EQ(image.Row(c.height), nullptr);
    EXPECT_EQ(image.ColourTable() != nullptr, c.bits == 8);

    // Pixel colours: through the table at 8 bits, none at 24.
    image.Row(0)[0] = 3;
    const std::uint8_t* expected = c.bits == 8 ? image.ColourTable() + 12 : c.bits == 32 ? image.Row(0) : nullptr;
    EXPECT_EQ(image.Bgra(0, 0), expected);
    EXPECT_EQ(image.Bgra(c.width, 0), nullptr);
  }
}

TEST(Image, RefusesSizesBeyondTheLimitAndStaysEmpty) {
  Image image;
  ASSERT_TRUE(image.Create32(8192, 8192));
  EXPECT_FALSE(image.Create32(8193, 8192));
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.Width(), 0u);
  EXPECT_FALSE(image.Create32(65535, 65535));  // 16 GiB: would wrap a 32-bit size_t
  EXPECT_FALSE(image.Create24(65535, 65535));
  EXPECT_FALSE(image.Create8(16, 16, 257));
}

TEST(Image, MovesItsBlockAndHasAWhitePixel) {
  Image source;
  ASSERT_TRUE(source.InitWhitePixel());
  EXPECT_EQ(source.BitsPerPixel(), 32u);
  EXPECT_EQ(source.Row(0)[0] & source.Row(0)[1] & source.Row(0)[2] & source.Row(0)[3], 0xFF);
  const std::uint8_t* block = source.Pixels();
  Image target = std::move(source);
  EXPECT_EQ(target.Pixels(), block);
  EXPECT_TRUE(source.Empty());
  EXPECT_EQ(source.Width(), 0u);
  EXPECT_EQ(source.Row(0), nullptr);
}
