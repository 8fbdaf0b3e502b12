// Dialogs that size themselves to their message: the label takes the text's
// extent, the window follows, what lies below moves, the buttons stay in
// the middle and never leave the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ui/widgets/text_block.h"

namespace {

// Every character 6 pixels wide, lines 13 pixels high.
FontMetrics EvenFont() {
  FontMetrics metrics;
  for (auto& width : metrics.widths) width = 6;
  metrics.averageWidth = 6;
  metrics.lineHeight = 13;
  return metrics;
}

struct MessageBoxTable {
  LayoutEntry entries[5] = {
      {905, kWindowKind, 0x00, 10, 10, 204, 84, ""},
      {0, kTitleBarKind, 0x04, 0, 0, 204, 20, "Message"},
      {1205, kLabelKind, 0x0C, 44, 24, 156, 20, ""},
      {0, kPictureKind, 0x00, 4, 24, 32, 32, "warnbmp"},
      {1720, kButtonKind, 0x02, 64, 52, 76, 24, "OK"},
  };
};

TEST(TextBlock, MeasuresTheWidestLineAndCountsLines) {
  FontMetrics font = EvenFont();
  struct Case {
    const char* text;
    int width;
    int lines;
  } cases[] = {
      {"", 0, 1}, {"abc", 18, 1}, {"ab\r\nabcd", 24, 2}, {"abcd\nab\n", 24, 3}, {"a\r\n\r\nb", 6, 3},
  };
  for (const Case& c : cases) {
    TextExtent extent = MeasureTextBlock(font, c.text);
    EXPECT_EQ(extent.width, c.width) << c.text;
    EXPECT_EQ(extent.lines, c.lines) << c.text;
  }
}

TEST(TextBlock, TheMessageBoxTakesTheSizeOfItsText) {
  FontMetrics font = EvenFont();
  struct Case {
    std::string text;
    int width;  // of the window
    int height;
  } cases[] = {
      {std::string(40, 'x'), 48 + 245, 84},                                 // wider: 40 x 6 + 5
      {"x\r\nx", 92, 84 + 13},                                              // as narrow as OK allows
      {std::string(25, 'x') + "\n" + std::string(10, 'x'), 48 + 155, 97},  // narrower than the layout
  };
  for (const Case& c : cases) {
    MessageBoxTable box;
    FitLayoutToText(box.entries, 5, 2, font, c.text.c_str());
    const LayoutEntry& window = box.entries[0];
    const LayoutEntry& label = box.entries[2];
    const LayoutEntry& ok = box.entries[4];
    EXPECT_EQ(window.width, c.width) << c.text;
    EXPECT_EQ(window.height, c.height) << c.text;
    EXPECT_EQ(box.entries[1].width, window.width);
    EXPECT_EQ(label.x + label.width, window.width - 4) << "the label keeps its right margin";
    EXPECT_EQ(label.y + label.height, ok.y - 8) << "the button keeps its distance below the text";
    EXPECT_LE(std::abs((window.width - ok.width) / 2 - ok.x), 1) << "OK stays in the middle";
    EXPECT_GE(ok.x, 8);
    EXPECT_EQ(box.entries[3].y, 24) << "the symbol stays beside the text";
  }
}

TEST(TextBlock, TheQuestionBoxKeepsItsTwoButtonsCentred) {
  FontMetrics font = EvenFont();
  LayoutEntry question[] = {
      {915, kWindowKind, 0x00, 10, 10, 180, 100, ""},
      {0, kTitleBarKind, 0x04, 0, 0, 180, 20, "Please confirm"},
      {1115, kLabelKind, 0x0C, 42, 20, 132, 40, ""},
      {0, kPictureKind, 0x00, 5, 25, 16, 16, "askbmp"},
      {1725, kButtonKind, 0x02, 12, 68, 72, 24, "Yes"},
      {1730, kButtonKind, 0x03, 96, 68, 72, 24, "No"},
  };
  std::string text = "Are you shure to delete the directory\r\n" + std::string(60, 'x');
  FitLayoutToText(question, 6, 2, font, text.c_str());
  EXPECT_EQ(question[0].width, 180 + (365 - 132));
  EXPECT_EQ(question[2].height, 2 * 13 + 7);
  EXPECT_LE(std::abs(question[4].x - (question[0].width - (question[5].x + question[5].width))), 1) << "equal margins";
  EXPECT_EQ(question[4].y, 68 - 40 + 33);
}

}  // namespace
