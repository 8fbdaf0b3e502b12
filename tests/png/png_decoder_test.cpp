// Guards the PNG decoder on files built to show one behaviour each: the size
// limit and its logged message, every refusal of a malformed file (without a
// log line, and leaving the target image as it was), truncation at every
// byte, transparency and palette rules, 16-bit samples, unchecked checksums
// and the tEXt list.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture_logger.h"
#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "log/abort_error.h"
#include "png_test_files.h"

namespace {

Bytes Ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t type,
           std::uint8_t interlace = 0) {
  return Chunk("IHDR", HeaderData(width, height, depth, type, interlace));
}
Bytes Idat(const Bytes& raw) { return Chunk("IDAT", Zlib(raw)); }
const Bytes kIend = Chunk("IEND", {});

// A 2 x 2 RGB picture at depth 8, unfiltered.
const Bytes kRgbRows = {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
Bytes ValidRgb() { return Png({Ihdr(2, 2, 8, 2), Idat(kRgbRows), kIend}); }

Bytes WithHeaderByte(std::size_t index, std::uint8_t value) {
  Bytes header = HeaderData(2, 2, 8, 2);
  header[index] = value;
  return Png({Chunk("IHDR", header), Idat(kRgbRows), kIend});
}

// The RGB picture with its zlib header replaced; the check bits are made
// valid unless `break_check`.
Bytes WithZlibHeader(std::uint8_t cmf, std::uint8_t flg, bool break_check = false) {
  Bytes stream = Zlib(kRgbRows);
  flg = static_cast<std::uint8_t>(flg & 0xE0);
  flg = static_cast<std::uint8_t>(flg + (31 - (cmf * 256u + flg) % 31) % 31 + (break_check ? 1 : 0));
  stream[0] = cmf;
  stream[1] = flg;
  return Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", stream), kIend});
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace

TEST(PngDecoder, AcceptsTheSizeLimitAndRefusesOneMoreWithItsMessage) {
  // 8192 x 8192 at one bit per pixel; only the top-left pixel is set.
  Bytes rows(std::size_t{8192} * 1025, 0);
  rows[1] = 0x80;
  Bytes largest = Png({Ihdr(8192, 8192, 1, 0), Idat(rows), kIend});
  Image image;
  ASSERT_NO_THROW(DecodePng(image, largest.data(), largest.size()));
  EXPECT_EQ(image.Width(), 8192u);
  EXPECT_EQ(image.Height(), 8192u);
  EXPECT_EQ(image.Row(0)[0], 1);
  EXPECT_EQ(image.Row(0)[1], 0);
  EXPECT_EQ(image.Row(8191)[0], 0);

  for (auto [width, height] : {std::pair{8193u, 8192u}, std::pair{8192u, 8193u}}) {
    CaptureLogger logger;
    Bytes too_large = Png({Ihdr(width, height, 1, 0), Idat({0, 0}), kIend});
    EXPECT_THROW(DecodePng(image, too_large.data(), too_large.size()), AbortError);
    EXPECT_EQ(logger.errors, std::vector<std::string>{"Width and/or height of the picture is bigger than 8192"});
  }
}

TEST(PngDecoder, RefusesMalformedFilesSilentlyAndKeepsTheImage) {
  Bytes wrong_signature = ValidRgb();
  wrong_signature[1] = 'Q';
  Bytes short_header = HeaderData(2, 2, 8, 2);
  short_header.pop_back();
  Bytes endless = ValidRgb();
  endless[8 + 25] = 0x7F;  // the high byte of the IDAT length
  Bytes zlib = Zlib(kRgbRows);
  Bytes first_part(zlib.begin(), zlib.begin() + 5), second_part(zlib.begin() + 5, zlib.end());
  const Bytes palette = Chunk("PLTE", {1, 2, 3, 4, 5, 6});
  const Bytes palette_rows = {0, 0, 1, 0, 1, 0};

  const std::pair<const char*, Bytes> cases[] = {
      {"signature", wrong_signature},
      {"first chunk not IHDR", Png({palette, Ihdr(2, 2, 8, 2), Idat(kRgbRows), kIend})},
      {"IHDR of 12 bytes", Png({Chunk("IHDR", short_header), Idat(kRgbRows), kIend})},
      {"compression method 1", WithHeaderByte(10, 1)},
      {"filter method 1", WithHeaderByte(11, 1)},
      {"interlace method 2", WithHeaderByte(12, 2)},
      {"bit depth 3", WithHeaderByte(8, 3)},
      {"colour type 1", WithHeaderByte(9, 1)},
      {"colour type 5", WithHeaderByte(9, 5)},
      {"colour type 7", WithHeaderByte(9, 7)},
      {"RGB at depth 4", Png({Ihdr(2, 2, 4, 2), Idat({0, 0, 0, 0, 0, 0, 0, 0}), kIend})},
      {"grey and alpha at depth 2", Png({Ihdr(2, 2, 2, 4), Idat({0, 0, 0, 0}), kIend})},
      {"palette at depth 16", Png({Ihdr(2, 2, 16, 3), palette, Idat(Bytes(10, 0)), kIend})},
      {"width 0", Png({Ihdr(0, 2, 8, 2), Idat({0, 0}), kIend})},
      {"height 0", Png({Ihdr(2, 0, 8, 2), Idat({0, 0}), kIend})},
      {"second IHDR", Png({Ihdr(2, 2, 8, 2), Ihdr(2, 2, 8, 2), Idat(kRgbRows), kIend})},
      {"IEND without IDAT", Png({Ihdr(2, 2, 8, 2), kIend})},
      {"no IEND", Png({Ihdr(2, 2, 8, 2), Idat(kRgbRows)})},
      {"chunk longer than the file", endless},
      {"palette picture without PLTE", Png({Ihdr(2, 2, 8, 3), Idat(palette_rows), kIend})},
      {"PLTE not a multiple of 3", Png({Ihdr(2, 2, 8, 3), Chunk("PLTE", {1, 2, 3, 4}), Idat(palette_rows), kIend})},
      {"PLTE of 257 entries", Png({Ihdr(2, 2, 8, 3), Chunk("PLTE", Bytes(771, 1)), Idat(palette_rows), kIend})},
      {"tRNS before PLTE", Png({Ihdr(2, 2, 8, 3), Chunk("tRNS", {0}), palette, Idat(palette_rows), kIend})},
      {"RGB tRNS of 5 bytes", Png({Ihdr(2, 2, 8, 2), Chunk("tRNS", Bytes(5, 0)), Idat(kRgbRows), kIend})},
      {"grey tRNS of 1 byte", Png({Ihdr(2, 2, 8, 0), Chunk("tRNS", {0}), Idat({0, 0, 0, 0, 0, 0}), kIend})},
      {"image data split by another chunk",
       Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", first_part), Chunk("tEXt", {'a', 0}), Chunk("IDAT", second_part), kIend})},
      {"zlib method 7", WithZlibHeader(0x77, 0x00)},
      {"zlib window of 64 KiB", WithZlibHeader(0x88, 0x00)},
      {"zlib check bits", WithZlibHeader(0x78, 0x00, true)},
      {"zlib preset dictionary", WithZlibHeader(0x78, 0x20)},
      {"filter type 5", Png({Ihdr(2, 2, 8, 2), Idat({5, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12}), kIend})},
      {"image data one row short", Png({Ihdr(2, 3, 8, 2), Idat(kRgbRows), kIend})},
      {"a 8192 x 8192 RGBA picture from 60 bytes", Png({Ihdr(8192, 8192, 8, 6), Idat({0, 0, 0, 0, 0}), kIend})},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    CaptureLogger logger;
    Image image;
    ASSERT_TRUE(image.InitWhitePixel());
    EXPECT_THROW(DecodePng(image, file.data(), file.size()), AbortError);
    EXPECT_TRUE(logger.lines.empty());
    EXPECT_EQ(image.Width(), 1u);
    EXPECT_EQ(image.Row(0)[0], 0xFF);
  }
}

TEST(PngDecoder, RefusesEveryTruncation) {
  for (const char* name : {"basn6a08.png", "basi3p02.png"}) {
    Bytes file = ReadFileBytes(std::string(TARNELL_TESTDATA "/pngsuite/") + name);
    ASSERT_FALSE(file.empty()) << name;
    for (std::size_t size = 0; size < file.size(); ++size) {
      Image image;
      EXPECT_THROW(DecodePng(image, file.data(), size), AbortError) << name << " cut to " << size << " bytes";
    }
  }
}

TEST(PngDecoder, AppliesTransparencyPaletteAndSampleRules) {
  const Bytes rgb_pixels = {0, 1, 2, 3, 4, 5, 6};
  const Bytes rgb_key = Chunk("tRNS", {0, 4, 0, 5, 0, 6});
  // 16-bit RGB: the two pixels share their high bytes and differ in one low byte.
  const Bytes rgb16_pixels = {0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0x12, 0x35, 0x56, 0x78, 0x9A, 0xBC};
  const Bytes palette = Chunk("PLTE", {10, 20, 30, 40, 50, 60});
  Bytes wrong_adler = Png({Ihdr(2, 1, 8, 2), Idat(rgb_pixels), kIend});
  wrong_adler[wrong_adler.size() - 12 - 4 - 1] ^= 0xFF;  // last byte of the Adler-32

  struct Case {
    const char* name;
    Bytes file;
    std::uint32_t bits_per_pixel;
    Bytes rgba;
  };
  const Case cases[] = {
      {"RGB colour key", Png({Ihdr(2, 1, 8, 2), rgb_key, Idat(rgb_pixels), kIend}), 32, {1, 2, 3, 255, 4, 5, 6, 0}},
      {"RGB colour key after the image data has no effect",
       Png({Ihdr(2, 1, 8, 2), Idat(rgb_pixels), rgb_key, kIend}),
       32,
       {1, 2, 3, 255, 4, 5, 6, 255}},
      {"16-bit colour key compared at full depth",
       Png({Ihdr(2, 1, 16, 2), Chunk("tRNS", {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}), Idat(rgb16_pixels), kIend}),
       32,
       {0x12, 0x56, 0x9A, 0, 0x12, 0x56, 0x9A, 255}},
      {"16-bit grey and alpha keep the high bytes",
       Png({Ihdr(1, 1, 16, 4), Idat({0, 0xAB, 1, 0xCD, 2}), kIend}),
       32,
       {0xAB, 0xAB, 0xAB, 0xCD}},
      {"RGBA", Png({Ihdr(1, 1, 8, 6), Idat({0, 1, 2, 3, 4}), kIend}), 32, {1, 2, 3, 4}},
      {"palette tRNS after the image data counts",
       Png({Ihdr(2, 1, 8, 3), palette, Idat({0, 0, 1}), Chunk("tRNS", {0x80}), kIend}),
       8,
       {10, 20, 30, 0x80, 40, 50, 60, 255}},
      {"palette indices beyond the entries are opaque white",
       Png({Ihdr(2, 1, 8, 3), palette, Idat({0, 1, 7}), kIend}),
       8,
       {40, 50, 60, 255, 255, 255, 255, 255}},
      {"tRNS longer than 256 entries is cut",
       Png({Ihdr(1, 1, 8, 3), palette, Chunk("tRNS", Bytes(300, 7)), Idat({0, 1}), kIend}),
       8,
       {40, 50, 60, 7}},
      {"PLTE in a grey picture is ignored",
       Png({Ihdr(2, 1, 8, 0), palette, Idat({0, 0, 200}), kIend}),
       8,
       {0, 0, 0, 255, 200, 200, 200, 255}},
      {"4-bit grey with a key",
       Png({Ihdr(2, 1, 4, 0), Chunk("tRNS", {0, 5}), Idat({0, 0x35}), kIend}),
       8,
       {51, 51, 51, 255, 85, 85, 85, 0}},
      {"16-bit grey key matched on the high byte",
       Png({Ihdr(2, 1, 16, 0), Chunk("tRNS", {0x56, 0x78}), Idat({0, 0x12, 0x34, 0x56, 0x78}), kIend}),
       8,
       {0x12, 0x12, 0x12, 255, 0x56, 0x56, 0x56, 0}},
      {"wrong Adler-32", wrong_adler, 32, {1, 2, 3, 255, 4, 5, 6, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Image image;
    ASSERT_NO_THROW(DecodePng(image, c.file.data(), c.file.size()));
    EXPECT_EQ(image.BitsPerPixel(), c.bits_per_pixel);
    EXPECT_EQ(ToRgba(image), c.rgba);
  }
}

TEST(PngDecoder, PassesOverImageDataTheStreamDidNotNeed) {
  // An empty IDAT after the stream, or bytes after its end, are left over by
  // some encoders; the picture is complete without them.
  for (const Bytes& file :
       {Png({Ihdr(2, 2, 8, 2), Idat(kRgbRows), Chunk("IDAT", {}), kIend}),
        Png({Ihdr(2, 2, 8, 2), Chunk("IDAT", Concat({Zlib(kRgbRows), {1, 2}})), Chunk("IDAT", {3, 4}), kIend})}) {
    Image image;
    ASSERT_NO_THROW(DecodePng(image, file.data(), file.size()));
    EXPECT_EQ(ToRgba(image), Bytes({1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255}));
  }
}

TEST(PngDecoder, HandsTextChunksToTheList) {
  struct Texts : PngTextList {
    void Add(const char* keyword, std::size_t keyword_length, const char* text, std::size_t text_length) override {
      entries.emplace_back(std::string(keyword, keyword_length), std::string(text, text_length));
    }
    std::vector<std::pair<std::string, std::string>> entries;
  } texts;
  Bytes file = Png({Ihdr(2, 2, 8, 2), Chunk("tEXt", {'T', 'i', 't', 'l', 'e', 0, 'S', 'k', 'i', 'n'}), Idat(kRgbRows),
                    Chunk("tEXt", {'B', 'a', 'r', 'e'}), kIend});
  Image image;
  PngDecoder(file.data(), file.size()).Decode(image, &texts);
  using Entry = std::pair<std::string, std::string>;
  EXPECT_EQ(texts.entries, (std::vector<Entry>{{"Title", "Skin"}, {"Bare", ""}}));
}
