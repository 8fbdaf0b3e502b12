// The text view's logic: the line store's trimming (1000 lines held become
// the newest 500 plus the new one) and its content size, the copy text with
// CR LF between lines, the selection states with Shift and the pointer,
// word steps, double clicks, the rows a paint must draw, and the scrolling
// that follows the caret.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_test_support.h"
#include "ui/widgets/behaviour/text_view_model.h"

namespace {

using Selection = TextViewModel::Selection;

const FontMetrics kFont = TestFont();
constexpr int kLine = 13;

// A view whose line 1 is the empty line every view starts with.
TextViewModel View(const std::vector<const char*>& lines) {
  TextViewModel view(kFont);
  for (const char* line : lines) view.AppendLine(line);
  view.Lines().TakeUpdate();
  view.SetViewSize(200, 6 + 5 * kLine);
  return view;
}

void Press(TextViewModel& view, const char* name) {
  KeyPress press = ParseKey(name);
  view.Key(press.key, press.flags);
}

std::string CaretOf(const TextViewModel& view) {
  return std::to_string(view.Caret().line) + ":" + std::to_string(view.Caret().column);
}

TEST(LineStore, TrimKeepsTheNewest500OnceThousandAreHeld) {
  struct Case {
    int held;
    int after;  // lines after trimming to 500 and appending one
  } cases[] = {{998, 999}, {999, 1000}, {1000, 501}, {1500, 501}, {1, 2}};
  for (const Case& c : cases) {
    TextViewModel view(kFont);  // one empty line
    for (int i = 2; i <= c.held; ++i) view.AppendLine("line " + std::to_string(i));
    view.Trim(500);
    view.AppendLine("new");
    EXPECT_EQ(view.Lines().Count(), c.after) << c.held;
    EXPECT_EQ(view.Lines().Text(view.Lines().Count()), "new");
    if (c.after == 501) {
      EXPECT_EQ(view.Lines().Text(1), "line " + std::to_string(c.held - 499)) << c.held;
    }
  }
}

TEST(LineStore, ContentSizeFollowsTheWidestLineAndTheCount) {
  FontMetrics font = TestFont();
  LineStore store(font);
  store.Clear();
  LineStore::Update update = store.TakeUpdate();
  EXPECT_EQ(store.ContentWidth(), 100) << "never narrower than 100";
  EXPECT_EQ(store.ContentHeight(), kLine + 6);
  store.Append(std::string(30, 'w'));  // 210 pixels
  store.Append("short");
  update = store.TakeUpdate();
  EXPECT_TRUE(update.size_changed);
  EXPECT_EQ(update.lines.first, 2);
  EXPECT_EQ(update.lines.last, 3);
  EXPECT_EQ(store.ContentWidth(), 216);
  EXPECT_EQ(store.ContentHeight(), 3 * kLine + 6);

  for (int i = 0; i < 3; ++i) store.Append("x");
  store.TakeUpdate();
  EXPECT_EQ(store.Trim(3), 3) << "6 lines held, 3 kept";
  update = store.TakeUpdate();
  EXPECT_EQ(update.lines.first, 1);
  EXPECT_EQ(update.lines.last, 3);
  EXPECT_EQ(store.ContentWidth(), 100) << "the widest line went, so all were measured again";
  EXPECT_EQ(store.Trim(3), 0) << "fewer than twice the limit";

  std::string long_line(70000, 'z');
  store.Append(long_line);
  EXPECT_EQ(store.Length(store.Count()), 65535);
}

TEST(TextViewModel, CopyJoinsLinesWithCrLf) {
  struct Case {
    const char* name;
    std::vector<const char*> keys;  // from the start of line 2
    std::string copied;
  } cases[] = {
      {"within a line", {"Right", "S-Right", "S-Right", "S-Right"}, "lph"},
      {"ending at column 0", {"S-Down", "S-Down"}, "alpha\r\nbeta\r\n"},
      {"Shift+Down from no selection", {"Right", "Right", "S-Down"}, "pha\r\nbe"},
      {"select all", {"C-A"}, "\r\nalpha\r\nbeta\r\ngamma"},
      {"nothing selected", {"Right"}, ""},
      {"selection given up", {"S-Right", "Right"}, ""},
      {"across the anchor", {"Right", "Right", "S-Left", "S-Right", "S-Right"}, "p"},
      {"to the end", {"CS-End"}, "alpha\r\nbeta\r\ngamma"},
  };
  for (const Case& c : cases) {
    TextViewModel view = View({"alpha", "beta", "gamma"});
    Press(view, "C-Home");
    Press(view, "Down");
    for (const char* key : c.keys) Press(view, key);
    EXPECT_EQ(view.CopyText(), c.copied) << c.name;
    KeyPress copy = ParseKey("C-C");
    EXPECT_EQ(view.Key(copy.key, copy.flags), TextViewModel::Result::kCopy);
  }
}

TEST(TextViewModel, SelectionStatesFollowTheCaret) {
  TextViewModel view = View({"abcdef"});
  Press(view, "C-End");
  Press(view, "Left");
  Press(view, "Left");  // 2:4
  Press(view, "S-Left");
  EXPECT_EQ(view.State(), Selection::kCaretAtStart);
  Press(view, "S-Right");
  Press(view, "S-Right");
  EXPECT_EQ(view.State(), Selection::kCaretAtEnd) << "passing the end swaps";
  EXPECT_EQ(view.CopyText(), "e");
  view.PointerDown(0, kLine + 2, false);
  EXPECT_EQ(view.State(), Selection::kNone);
  view.PointerDrag(7 * 3, kLine + 2);
  EXPECT_EQ(view.CopyText(), "abc");
  view.PointerDown(7 * 5, kLine + 2, true);
  EXPECT_EQ(view.CopyText(), "abcde") << "Shift+click extends";
}

TEST(TextViewModel, CaretKeys) {
  struct Case {
    const char* key;
    const char* from;
    const char* to;
  } cases[] = {
      {"Left", "3:0", "2:8"},    {"Right", "2:8", "3:0"},   {"Right", "4:5", "4:5"},
      {"Home", "3:3", "3:0"},    {"End", "3:1", "3:6"},     {"C-Home", "3:3", "1:0"},
      {"C-End", "2:1", "4:5"},   {"Up", "1:0", "1:0"},      {"Down", "4:2", "4:2"},
      {"Up", "3:4", "2:2"},  // "iiiiii" 4 columns in is x 12; on "ab cd ef" column 2 (x 14) is nearest
      {"C-Left", "2:4", "2:3"},  {"C-Left", "2:3", "2:0"},  {"C-Left", "2:0", "1:0"},
      {"C-Left", "4:3", "4:2"},  {"C-Left", "4:2", "3:6"},  // "  xyz" starts with blanks: on to the line before
      {"C-Right", "2:0", "2:3"}, {"C-Right", "2:6", "2:8"}, {"C-Right", "2:8", "3:0"},
      {"C-Right", "3:6", "4:2"},  // the next line starts with blanks
      {"PgDn", "1:0", "4:0"},    {"PgUp", "4:5", "1:0"},
  };
  for (const Case& c : cases) {
    TextViewModel view = View({"ab cd ef", "iiiiii", "  xyz"});
    view.SetViewSize(200, 6 + 3 * kLine);  // three whole lines to a page
    // Reach the start place with the pointer: line, then x of the column.
    int line = c.from[0] - '0';
    int column = std::atoi(c.from + 2);
    view.PointerDown(view.ColumnX(line, column), (line - 1) * kLine + 1, false);
    ASSERT_EQ(CaretOf(view), c.from);
    Press(view, c.key);
    EXPECT_EQ(CaretOf(view), c.to) << c.key << " from " << c.from;
  }
}

TEST(TextViewModel, DoubleClickSelectsAWordAndNothingOnABlank) {
  struct Case {
    int column;
    std::string selected;
  } cases[] = {{1, "two"}, {4, "three"}, {3, ""}, {9, ""}, {10, "four"}, {14, ""}};
  for (const Case& c : cases) {
    TextViewModel view = View({"two three;four"});
    view.DoubleClick(view.ColumnX(2, c.column) + 1, kLine + 1);
    EXPECT_EQ(view.CopyText(), c.selected) << c.column;
  }
}

TEST(TextViewModel, TrimKeepsTheSelectionOnItsLines) {
  TextViewModel view(kFont);
  for (int i = 2; i <= 1000; ++i) view.AppendLine("line " + std::to_string(i));
  view.Lines().TakeUpdate();
  view.PointerDown(0, 699 * kLine, false);
  view.PointerDrag(view.ColumnX(701, 6), 700 * kLine);
  EXPECT_EQ(view.CopyText(), "line 700\r\nline 7");
  view.Trim(500);
  view.AppendLine("new");
  EXPECT_EQ(view.CopyText(), "line 700\r\nline 7");

  view.PointerDown(0, 0, false);
  view.PointerDrag(7 * 3, 2 * kLine);
  view.Trim(1);  // drops every line but the last
  EXPECT_EQ(view.State(), Selection::kNone);
  EXPECT_EQ(view.CopyText(), "");
}

TEST(TextViewModel, RowsToPaintAreOnlyThoseInTheBand) {
  TextViewModel view(kFont);
  for (int i = 0; i < 99; ++i) view.AppendLine("x");  // 100 lines
  struct Case {
    int scroll_y, from_y, to_y;
    int first, last;
  } cases[] = {
      {0, 3, 3 + 5 * kLine, 1, 5},
      {0, 3, 4 + 5 * kLine, 1, 6},  // one pixel of line 6
      {20, 3, 103, 2, 10},
      {20, 50, 60, 6, 6},       // a band inside one row
      {1250, 3, 103, 97, 100},  // past the last line
      {0, 0, 3, 1, 0},          // the margin above the text
  };
  for (const Case& c : cases) {
    LineRange rows = view.RowsIn(c.scroll_y, 3, c.from_y, c.to_y);
    EXPECT_EQ(rows.first, c.first) << c.scroll_y << " " << c.from_y;
    EXPECT_EQ(rows.last, c.last) << c.scroll_y << " " << c.from_y;
  }
}

TEST(TextViewModel, ScrollingFollowsTheCaret) {
  TextViewModel view(kFont);
  for (int i = 0; i < 99; ++i) view.AppendLine(std::string(static_cast<std::size_t>(i % 40), 'w'));
  view.Lines().TakeUpdate();
  view.SetViewSize(150, 6 + 10 * kLine);
  int bottom = 100 * kLine + 6 - view.Lines().LineHeight() * 10 - 6;
  EXPECT_EQ(view.ScrollToCaret(ScrollOffset{0, 0}), (ScrollOffset{0, bottom})) << "the last line in view";
  Press(view, "C-Home");
  EXPECT_EQ(view.ScrollToCaret(ScrollOffset{0, bottom}), (ScrollOffset{0, 0}));
  Press(view, "Down");  // line 2: still in view
  EXPECT_EQ(view.ScrollToCaret(ScrollOffset{0, 0}), (ScrollOffset{0, 0}));
  for (int i = 0; i < 37; ++i) Press(view, "Down");  // line 39, 37 'w' wide
  Press(view, "End");
  ScrollOffset scrolled = view.ScrollToCaret(ScrollOffset{0, 0});
  EXPECT_EQ(scrolled.x, 37 * 7 + 6 - (150 - 6)) << "6 pixels from the text's right edge, inside the margins";
  EXPECT_EQ(scrolled.y, 39 * kLine - (10 * kLine + 6) + 6);
  Press(view, "Home");
  EXPECT_EQ(view.ScrollToCaret(scrolled).x, 0);
}

}  // namespace
