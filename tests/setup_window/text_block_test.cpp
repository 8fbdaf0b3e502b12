// Dialogs that size themselves to their message: the label takes the text's
// extent, the window follows, what lies below moves, the buttons stay in
// the middle and never leave the window. Scripts find the buttons of a
// shown box by growing its table to the box's size: that puts them where
// fitting did.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "layouts/dialog_layouts.h"
#include "layouts/message_box_layout.h"
#include "ui/widgets/text_block.h"

namespace {

// Every character 6 pixels wide, lines 13 pixels high.
FontMetrics EvenFont() {
  FontMetrics metrics;
  for (auto& width : metrics.widths) width = 6;
  metrics.average_width = 6;
  metrics.line_height = 13;
  return metrics;
}

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
      {std::string(40, 'x'), 48 + 245, 84},                                // wider: 40 x 6 + 5
      {"x\r\nx", 92, 84 + 13},                                             // as narrow as OK allows
      {std::string(25, 'x') + "\n" + std::string(10, 'x'), 48 + 155, 97},  // narrower than the layout
  };
  for (const Case& c : cases) {
    auto box = MessageBoxLayout(c.text.c_str());
    FitLayoutToText(box.data(), 5, kMessageTextEntry, font, c.text.c_str());
    const LayoutEntry& window = box[0];
    const LayoutEntry& label = box[2];
    const LayoutEntry& ok = box[4];
    EXPECT_EQ(window.width, c.width) << c.text;
    EXPECT_EQ(window.height, c.height) << c.text;
    EXPECT_EQ(box[1].width, window.width);
    EXPECT_EQ(label.x + label.width, window.width - 4) << "the label keeps its right margin";
    EXPECT_EQ(label.y + label.height, ok.y - 8) << "the button keeps its distance below the text";
    EXPECT_LE(std::abs((window.width - ok.width) / 2 - ok.x), 1) << "OK stays in the middle";
    EXPECT_GE(ok.x, 8);
    EXPECT_EQ(box[3].y, 24) << "the symbol stays beside the text";
  }
}

TEST(TextBlock, TheQuestionBoxKeepsItsTwoButtonsCentred) {
  FontMetrics font = EvenFont();
  auto question = QuestionLayout("");
  std::string text = "Are you shure to delete the directory\r\n" + std::string(60, 'x');
  FitLayoutToText(question.data(), 6, kQuestionEntry, font, text.c_str());
  EXPECT_EQ(question[0].width, 180 + (365 - 132));
  EXPECT_EQ(question[2].height, 2 * 13 + 7);
  EXPECT_LE(std::abs(question[4].x - (question[0].width - (question[5].x + question[5].width))), 1) << "equal margins";
  EXPECT_EQ(question[4].y, 68 - 40 + 33);
}

TEST(TextBlock, GrowingATableToAShownBoxPutsItsWidgetsWhereFittingDid) {
  FontMetrics font = EvenFont();
  const std::string texts[] = {"x", std::string(70, 'x'), "two\r\nlines\nand three", std::string(12, 'x')};
  for (const std::string& text : texts) {
    auto fitted = MessageBoxLayout(text.c_str());
    FitLayoutToText(fitted.data(), 5, kMessageTextEntry, font, text.c_str());
    auto grown = MessageBoxLayout(text.c_str());
    GrowAroundText(grown.data(), 5, kMessageTextEntry, fitted[0].width - grown[0].width,
                   fitted[0].height - grown[0].height);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(grown[i].x, fitted[i].x) << text << " entry " << i;
      EXPECT_EQ(grown[i].y, fitted[i].y) << text << " entry " << i;
      EXPECT_EQ(grown[i].width, fitted[i].width) << text << " entry " << i;
      EXPECT_EQ(grown[i].height, fitted[i].height) << text << " entry " << i;
    }
  }
}

}  // namespace
