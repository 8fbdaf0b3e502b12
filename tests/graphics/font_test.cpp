// The shared fonts under Wine with its own fonts pinned: Tahoma 8 points at
// 96 dots per inch, widths that measure text as GDI does, parameters that
// read back, and glyph atlases whose text matches GDI's own pixel for pixel.
#include "graphics/font_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "dib_surface.h"
#include "graphics/compositing.h"
#include "graphics/graphics_resources.h"
#include "graphics/image.h"

namespace {

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Graphics().Create()); }
  void TearDown() override { Graphics().Release(); }
};

// The width GDI measures for the text in `font`.
int GdiWidth(const FontRecord& font, const char* text) {
  ScopedSelection selected(Graphics().Screen(), font.Handle());
  SIZE size{};
  GetTextExtentPoint32A(Graphics().Screen(), text, static_cast<int>(std::strlen(text)), &size);
  return size.cx;
}

}  // namespace

TEST_F(FontTest, StandardFontsAreTahomaEightPoints) {
  const FontRecord& normal = Graphics().NormalFont();
  LOGFONTA made{};
  ASSERT_TRUE(GetObjectA(normal.Handle(), sizeof made, &made));
  EXPECT_EQ(made.lfHeight, -11);

  const FontParameters normal_parameters = GetFontParameters(normal.Handle());
  EXPECT_EQ(normal_parameters.points, 8);
  EXPECT_EQ(normal_parameters.style, kFontNormal);
  EXPECT_EQ(normal_parameters.quality, DefaultQuality);
  EXPECT_STREQ(normal_parameters.face.c_str(), "Tahoma");
  EXPECT_EQ(GetFontParameters(Graphics().BoldFont().Handle()).style, kFontBold);

  // Wine's own Tahoma, as the test prefix pins it.
  EXPECT_EQ(normal.LineHeight(), 13);
  const std::uint8_t* widths = normal.Metrics().widths;
  EXPECT_EQ((std::vector<int>{widths['A'], widths['B'], widths['C'], widths['D'], widths['E']}),
            (std::vector<int>{7, 7, 7, 7, 6}));
}

TEST_F(FontTest, TextWidthMeasuresAsGdiDoes) {
  const char* samples[] = {"", "Install", "The installation was successful",
                           "Gr\xF6\xDF"
                           "e \xC4nderung \xA9 \xE9t\xE9"};
  for (const FontRecord* font : {&Graphics().NormalFont(), &Graphics().BoldFont()}) {
    for (const char* sample : samples) {
      EXPECT_EQ(TextWidth(*font, sample, std::strlen(sample)), GdiWidth(*font, sample)) << sample;
    }
  }
}

TEST_F(FontTest, FontMadeForAContextUsesItsResolution) {
  FontRecord font;
  ASSERT_TRUE(font.Create(Graphics().Screen(), "Tahoma", 8, kFontLight | kFontItalic | kFontUnderline, 0));
  LOGFONTA made{};
  ASSERT_TRUE(GetObjectA(font.Handle(), sizeof made, &made));
  EXPECT_EQ(made.lfHeight, -MulDiv(8, GetDeviceCaps(Graphics().Screen(), LOGPIXELSY), 72));
  EXPECT_EQ(made.lfWeight, 200);
  EXPECT_TRUE(made.lfItalic);
  EXPECT_TRUE(made.lfUnderline);
  EXPECT_EQ(GetFontParameters(font.Handle()).style, kFontLight | kFontItalic);
}

TEST_F(FontTest, AtlasTextMatchesGdiText) {
  const char* text = "Setup \xC4gypten 42";
  for (const FontRecord* font : {&Graphics().NormalFont(), &Graphics().BoldFont()}) {
    const ImageFont& atlas =
        font == &Graphics().NormalFont() ? Graphics().NormalImageFont() : Graphics().BoldImageFont();
    ASSERT_EQ(atlas.CellWidth(),
              *std::max_element(std::begin(font->Metrics().widths), std::end(font->Metrics().widths)) + 5);
    EXPECT_EQ(atlas.TextWidth(text), TextWidth(*font, text, std::strlen(text)));

    const int width = atlas.TextWidth(text) + 4;
    const int height = font->LineHeight();
    Image image;
    ASSERT_TRUE(image.Create32(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)));
    FillGradient(image, WhitePixel, WhitePixel);
    atlas.DrawTextOnImage(image, 0, 0, text, BlackPixel);

    // GDI's own glyphs, one at a time at the pens of the width table (GDI
    // spaces a whole string its own way), each one pixel right of its pen.
    DibSurface surface(width, height, WhiteColour);
    ScopedSelection selected(surface.Dc(), font->Handle());
    SetBkMode(surface.Dc(), TRANSPARENT);
    int pen = 0;
    for (const char* at = text; *at; ++at) {
      ExtTextOutA(surface.Dc(), pen + 1, 0, 0, nullptr, at, 1, nullptr);
      pen += font->Metrics().widths[static_cast<unsigned char>(*at)];
    }

    int ink = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Pixel drawn = PixelAt(image, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
        ASSERT_EQ(Rgb(drawn.red, drawn.green, drawn.blue), surface.At(x, y)) << x << "," << y;
        ink += drawn == BlackPixel;
      }
    }
    EXPECT_GT(ink, 40);
  }
}
