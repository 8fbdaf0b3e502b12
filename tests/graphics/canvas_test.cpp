// The canvas under Wine: cached selections and colours skip GDI, clipping
// happens before any call, and lines, bevels and gradients land on the
// pixels they should.
#include "graphics/canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib_surface.h"
#include "graphics/graphics_resources.h"

namespace {

constexpr GdiColour kRed = Rgb(255, 0, 0);

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Graphics().Create());
    canvas_.Init(surface_.Dc(), surface_.Width(), surface_.Height());
  }
  void TearDown() override {
    canvas_.RestoreObjects();
    Graphics().Release();
  }

  // One letter per pixel of row y: the colour's key in `legend`, or '?'.
  std::string Row(int y, int from, int to, const std::vector<std::pair<char, GdiColour>>& legend) {
    std::string row;
    for (int x = from; x < to; ++x) {
      char letter = '?';
      for (const auto& [key, colour] : legend)
        if (surface_.At(x, y) == colour) letter = key;
      row += letter;
    }
    return row;
  }

  DibSurface surface_{12, 8, kRed};
  Canvas canvas_;
};

}  // namespace

TEST_F(CanvasTest, SelectingTheSameFontOrPenAgainMakesNoCall) {
  HGDIOBJ original = GetCurrentObject(surface_.Dc(), OBJ_FONT);
  CountingGdi gdi;
  canvas_.SelectFont(Graphics().NormalFont());
  canvas_.SelectFont(Graphics().NormalFont());
  EXPECT_EQ(gdi.select_object, 1);
  EXPECT_EQ(canvas_.LineHeight(), Graphics().NormalFont().LineHeight());
  canvas_.SelectFont(Graphics().BoldFont());
  canvas_.SelectPen(Graphics().BlackPen());
  canvas_.SelectPen(Graphics().BlackPen());
  EXPECT_EQ(gdi.select_object, 3);
  // After two different fonts the context's very first one comes back.
  canvas_.RestoreObjects();
  EXPECT_EQ(GetCurrentObject(surface_.Dc(), OBJ_FONT), original);
  EXPECT_EQ(GetCurrentObject(surface_.Dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
}

TEST_F(CanvasTest, ColoursAreSetOnlyWhenTheyChange) {
  // A fresh memory context has black text on white: setting exactly those
  // makes no call, but the first real change is never skipped.
  CountingGdi gdi;
  canvas_.SetColours(BlackColour, WhiteColour);
  EXPECT_EQ(gdi.set_text_color + gdi.set_bk_color, 0);
  canvas_.SetBackColour(BlackColour);
  canvas_.SetBackColour(BlackColour);
  EXPECT_EQ(gdi.set_bk_color, 1);
  EXPECT_EQ(GetBkColor(surface_.Dc()), BlackColour);
}

TEST_F(CanvasTest, FillsOnlyInsideTheClipAndCallsNothingForAnEmptyRest) {
  canvas_.SetBackColour(WhiteColour);
  canvas_.SetClip(Rect{2, 2, 6, 6});
  CountingGdi gdi;
  canvas_.FillRect(6, 0, 12, 8);  // beside the clip
  canvas_.FillRect(4, 4, 3, 8);   // inverted
  canvas_.TextOutRect(0, 0, Rect{0, 0, 2, 8}, "x", 1);
  canvas_.ExcludeRect(Rect{0, 6, 12, 8});
  canvas_.FocusRect(Rect{6, 0, 12, 8});
  EXPECT_EQ(gdi.ext_text_out + gdi.exclude_clip_rect + gdi.draw_focus_rect, 0);
  canvas_.FillRect(0, 0, 4, 4);
  EXPECT_EQ(gdi.ext_text_out, 1);
  const std::vector<std::pair<char, GdiColour>> legend{{'.', kRed}, {'W', WhiteColour}};
  EXPECT_EQ(Row(1, 0, 6, legend), "......");
  EXPECT_EQ(Row(3, 0, 6, legend), "..WW..");
}

TEST_F(CanvasTest, TextIsCentredVerticallyTowardsZero) {
  canvas_.SelectFont(Graphics().NormalFont());
  const std::int32_t line = canvas_.LineHeight();
  CountingGdi gdi;
  canvas_.TextOutCentredV(3, Rect{1, 2, 12, 2 + line + 7}, "a", 1);
  EXPECT_EQ(gdi.last_text_x, 4);
  EXPECT_EQ(gdi.last_text_y, 2 + 3);
  // (line - 3 - line) / 2 = -1.5, halved towards zero.
  canvas_.TextOutCentredV(0, Rect{0, 0, 12, line - 3}, "a", 1);
  EXPECT_EQ(gdi.last_text_y, -1);
}

TEST_F(CanvasTest, LinesIgnoreTheOrderOfTheirEndsAndStayInTheClip) {
  canvas_.SelectPen(Graphics().BlackPen());
  canvas_.SetClip(Rect{0, 0, 6, 7});
  canvas_.HLine(3, 1, 9);
  canvas_.HLine(9, 2, 3);
  canvas_.VLine(1, 6, 3);
  const std::vector<std::pair<char, GdiColour>> legend{{'.', kRed}, {'B', BlackColour}};
  EXPECT_EQ(Row(1, 0, 8, legend), "...BBB..");
  EXPECT_EQ(Row(2, 0, 8, legend), "...BBB..");
  EXPECT_EQ(Row(3, 0, 3, legend) + Row(5, 0, 3, legend) + Row(6, 0, 3, legend), ".B..B....");

  CountingGdi gdi;
  canvas_.HLine(0, 7, 5);   // below the clip
  canvas_.HLine(6, 1, 11);  // right of it
  canvas_.VLine(6, 0, 5);
  canvas_.VLine(2, -4, 0);
  EXPECT_EQ(gdi.move_to + gdi.line_to, 0);
}

TEST_F(CanvasTest, BevelDrawsARaisedFrame) {
  canvas_.Bevel(1, 1, 7, 6);
  const std::vector<std::pair<char, GdiColour>> legend{
      {'.', kRed}, {'F', FaceColour}, {'W', WhiteColour}, {'S', ShadowColour}, {'D', DarkShadowColour}};
  const char* expected[] = {
      "FFFFFD", "FWWWSD", "FW..SD", "FSSSSD", "DDDDDD",
  };
  for (int y = 0; y < 5; ++y) EXPECT_EQ(Row(1 + y, 1, 7, legend), expected[y]) << "row " << y;
  EXPECT_EQ(Row(0, 0, 8, legend), "........");
}

TEST_F(CanvasTest, GradientsStepPerColumnOrRowAndRestoreTheBackColour) {
  canvas_.SetBackColour(HintColour);
  canvas_.GreyGradientH(Rect{0, 0, 4, 1}, 0, 255);
  EXPECT_EQ(surface_.At(0, 0), Grey(0));
  EXPECT_EQ(surface_.At(1, 0), Grey(85));
  EXPECT_EQ(surface_.At(2, 0), Grey(170));
  EXPECT_EQ(surface_.At(3, 0), Grey(255));
  EXPECT_EQ(GetBkColor(surface_.Dc()), HintColour);

  // Channels apart: red 10 -> 0 truncates to 10 7 4 0, blue 0 -> 30 steps by 10.
  canvas_.GradientV(Rect{5, 1, 6, 5}, Rgb(10, 200, 0), Rgb(0, 200, 30));
  EXPECT_EQ(surface_.At(5, 1), Rgb(10, 200, 0));
  EXPECT_EQ(surface_.At(5, 2), Rgb(7, 200, 10));
  EXPECT_EQ(surface_.At(5, 3), Rgb(4, 200, 20));
  EXPECT_EQ(surface_.At(5, 4), Rgb(0, 200, 30));

  // One column wide: the first colour.
  canvas_.GreyGradientH(Rect{7, 0, 8, 2}, 40, 90);
  EXPECT_EQ(surface_.At(7, 1), Grey(40));
  canvas_.GreyGradientV(Rect{8, 0, 9, 1}, 60, 90);
  EXPECT_EQ(surface_.At(8, 0), Grey(60));
}

TEST_F(CanvasTest, HighContrastDrawsIllegibleTextInTheSystemColours) {
  struct Case {
    const char* what;
    bool high_contrast;
    GdiColour text, back;
    GdiColour expected_fill;
  } cases[] = {
      {"mode off: the skin's colours", false, Grey(200), Grey(210), Grey(210)},
      {"legible pair: the skin's colours", true, BlackColour, Grey(210), Grey(210)},
      {"pale field text: window colours", true, Grey(200), Grey(210), GetSysColor(COLOR_WINDOW)},
      {"pale text on the face: button colours", true, Grey(200), FaceColour, GetSysColor(COLOR_BTNFACE)},
  };
  for (const Case& c : cases) {
    canvas_.SetHighContrast(c.high_contrast);
    canvas_.SetColours(c.text, c.back);
    canvas_.TextOutRect(0, 0, Rect{0, 0, 12, 8}, " ", 1);
    EXPECT_EQ(surface_.At(11, 7), c.expected_fill) << c.what;
    // The skin's colours are the canvas's again for what follows.
    EXPECT_EQ(GetTextColor(surface_.Dc()), c.text) << c.what;
    EXPECT_EQ(GetBkColor(surface_.Dc()), c.back) << c.what;
  }
}
