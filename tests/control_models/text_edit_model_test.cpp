// The edit field's logic: caret steps over CR LF as one, Home and End on the
// line and Ctrl with them on the text, word steps, the selection made with
// Shift, typing and deleting over it, the 65535-byte limit that refuses a
// change whole, read-only and single-line fields, the pointer, and the
// scrolling that keeps the caret in view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_test_support.h"
#include "ui/widgets/behaviour/text_edit_model.h"

namespace {

using Result = TextEditModel::Result;

const FontMetrics kFont = TestFont();

// The text with '|' at the caret and '[' ']' around the selection.
std::string Show(const TextEditModel& model) {
  std::string shown;
  std::size_t start = model.SelectionStart();
  std::size_t end = model.SelectionEnd();
  bool selected = model.HasSelection();
  for (std::size_t i = 0; i <= model.Length(); ++i) {
    if (selected && i == start) shown += '[';
    if (i == model.Caret()) shown += '|';
    if (selected && i == end) shown += ']';
    if (i < model.Length()) shown += model.Text()[i];
  }
  return shown;
}

void PressKey(TextEditModel& model, const char* name) {
  KeyPress press = ParseKey(name);
  model.Key(press.key, press.flags);
}

// Sets the text written as Show() writes it: the caret at '|', and a
// selection between '[' and ']' made with Shift from its other end.
void Load(TextEditModel& model, const std::string& shown) {
  std::string text;
  std::size_t caret = 0, start = std::string::npos, end = std::string::npos;
  for (char c : shown) {
    if (c == '|')
      caret = text.size();
    else if (c == '[')
      start = text.size();
    else if (c == ']')
      end = text.size();
    else
      text += c;
  }
  ASSERT_TRUE(model.SetText(text.c_str()));
  auto walk_to = [&](std::size_t target, const char* key) {
    for (int guard = 0; model.Caret() != target && guard < 1000; ++guard) PressKey(model, key);
  };
  std::size_t anchor = start == std::string::npos ? caret : (caret == start ? end : start);
  walk_to(anchor, "Right");
  walk_to(caret, caret < anchor ? "S-Left" : "S-Right");
  ASSERT_EQ(Show(model), shown);
}

struct EditCase {
  const char* before;
  std::vector<const char*> keys;
  const char* after;
};

void RunCases(const std::vector<EditCase>& cases, bool single_line = false) {
  for (const EditCase& c : cases) {
    TextEditModel model(kFont, single_line);
    Load(model, c.before);
    for (const char* key : c.keys) PressKey(model, key);
    EXPECT_EQ(Show(model), c.after) << "from " << c.before;
  }
}

TEST(TextEditModel, CaretMovesOverLineBreaksAsOneStep) {
  RunCases({
      {"a|bc", {"Right"}, "ab|c"},
      {"abc|", {"Right"}, "abc|"},
      {"|abc", {"Left"}, "|abc"},
      {"ab|\r\ncd", {"Right"}, "ab\r\n|cd"},
      {"ab\r\n|cd", {"Left"}, "ab|\r\ncd"},
      {"ab\r\ncd|e\r\nf", {"Home"}, "ab\r\n|cde\r\nf"},
      {"ab\r\nc|de\r\nf", {"End"}, "ab\r\ncde|\r\nf"},
      {"ab\r\nc|de\r\nf", {"C-Home"}, "|ab\r\ncde\r\nf"},
      {"ab\r\nc|de\r\nf", {"C-End"}, "ab\r\ncde\r\nf|"},
      {"abc\r\nde|f", {"Up"}, "ab|c\r\ndef"},
      {"a|bc\r\ndef", {"Down"}, "abc\r\nd|ef"},
      {"abcdef|\r\nab", {"Down"}, "abcdef\r\nab|"},  // onto a shorter line
      {"ab|c\r\nd", {"Up"}, "|abc\r\nd"},            // up from the first line: to the start
      {"abc\r\nd|ef", {"Down"}, "abc\r\ndef|"},      // down from the last: to the end
  });
}

TEST(TextEditModel, WordStepsStopAtWordStarts) {
  RunCases({
      {"C:\\Program Fi|les", {"C-Left"}, "C:\\Program |Files"},
      {"C:\\Program |Files", {"C-Left"}, "C:\\|Program Files"},
      {"C:\\|Program Files", {"C-Left"}, "|C:\\Program Files"},
      {"|C:\\Program Files", {"C-Right"}, "C:\\|Program Files"},
      {"C:\\Pro|gram Files", {"C-Right"}, "C:\\Program |Files"},
      {"C:\\Program Fi|les", {"C-Right"}, "C:\\Program Files|"},
      {"a  (b|)", {"C-Left"}, "a  (|b)"},
      {"\xE4rger \xFC|ber",
       {"C-Left"},
       "\xE4rger |\xFC"
       "ber"},  // ANSI letters belong to words
      {"abc\r\n|def", {"C-Left"}, "|abc\r\ndef"},
      {"ab|c\r\ndef", {"C-Right"}, "abc\r\n|def"},  // the next line's first word is a stop
  });
}

TEST(TextEditModel, ShiftWithTheNavigationKeysSelects) {
  RunCases({
      {"a|bcd", {"S-Right", "S-Right"}, "a[bc|]d"},
      {"a|bcd", {"S-Right", "S-Right", "Left"}, "ab|cd"},
      {"ab|cd", {"S-Right", "S-Left", "S-Left"}, "a[|b]cd"},
      {"ab\r\ncd|", {"S-Home"}, "ab\r\n[|cd]"},
      {"a|b\r\ncd", {"S-Down"}, "a[b\r\nc|]d"},
      {"ab C|D", {"CS-Left"}, "ab [|C]D"},
      {"ab|c", {"C-A"}, "[abc|]"},
      {"ab|c", {"C-A", "S-Left"}, "[ab|]c"},
  });
}

TEST(TextEditModel, EditingKeys) {
  RunCases({
      {"abc|", {"Back"}, "ab|"},
      {"|abc", {"Back"}, "|abc"},
      {"ab\r\n|cd", {"Back"}, "ab|cd"},
      {"ab|\r\ncd", {"Del"}, "ab|cd"},
      {"ab|", {"Del"}, "ab|"},
      {"a[bc|]d", {"Back"}, "a|d"},
      {"a[|bc]d", {"Del"}, "a|d"},
      {"a|b", {"Space"}, "a |b"},
      {"ab|cd", {"S-Enter"}, "ab\r\n|cd"},
      {"a[b|]c", {"S-Enter"}, "a\r\n|c"},
      {"ab|cd", {"Enter"}, "ab|cd"},
  });
}

TEST(TextEditModel, TypingReplacesTheSelectionAndDropsControlCharacters) {
  TextEditModel model(kFont, false);
  Load(model, "a[bc|]d");
  EXPECT_EQ(model.TypeChar('Z'), Result::kHandled);
  EXPECT_EQ(Show(model), "aZ|d");
  model.TypeChar(0);
  model.TypeChar('\t');
  model.TypeChar(0x7F);
  EXPECT_EQ(Show(model), "aZ|d");
  model.TypeChar(0xE9);
  EXPECT_EQ(Show(model), "aZ\xE9|d");
}

TEST(TextEditModel, KeysThatBelongElsewhereArePassedOn) {
  struct Case {
    const char* key;
    bool single_line;
    Result result;
  } cases[] = {
      {"Enter", false, Result::kPassOn}, {"S-Enter", true, Result::kPassOn},
      {"Esc", false, Result::kPassOn},   {"PgDn", false, Result::kPassOn},
      {"C-Z", false, Result::kPassOn},   {"C-C", false, Result::kCopy},
      {"C-X", false, Result::kCut},      {"C-V", false, Result::kPaste},
      {"S-V", false, Result::kPaste},  // Shift+Insert arrives as a shifted V
  };
  for (const Case& c : cases) {
    TextEditModel model(kFont, c.single_line);
    model.SetText("text");
    KeyPress press = ParseKey(c.key);
    EXPECT_EQ(model.Key(press.key, press.flags), c.result) << c.key;
    EXPECT_STREQ(model.Text(), "text") << c.key;
  }
}

TEST(TextEditModel, ReadOnlyFieldSelectsAndCopiesButDoesNotChange) {
  struct Case {
    const char* key;
    Result result;
  } cases[] = {
      {"Back", Result::kHandled}, {"Del", Result::kHandled},    {"Space", Result::kHandled}, {"C-X", Result::kHandled},
      {"C-V", Result::kHandled},  {"S-Enter", Result::kPassOn}, {"C-C", Result::kCopy},      {"C-A", Result::kHandled},
  };
  for (const Case& c : cases) {
    TextEditModel model(kFont, false);
    Load(model, "a[bc|]d");
    model.SetReadOnly(true);
    KeyPress press = ParseKey(c.key);
    EXPECT_EQ(model.Key(press.key, press.flags), c.result) << c.key;
    EXPECT_STREQ(model.Text(), "abcd") << c.key;
  }
  TextEditModel model(kFont, false);
  Load(model, "a[bc|]d");
  model.SetReadOnly(true);
  model.TypeChar('x');
  EXPECT_EQ(model.Paste("xyz", 4), Result::kHandled);
  EXPECT_EQ(Show(model), "a[bc|]d");
  EXPECT_EQ(model.SelectedText(), "bc");
  PressKey(model, "C-A");
  EXPECT_EQ(Show(model), "[abcd|]");
}

TEST(TextEditModel, PasteTakesTheTextUpToItsEndOrInOneLineFieldsItsFirstBreak) {
  struct Case {
    bool single_line;
    const char* before;
    const char* clip;
    const char* after;
  } cases[] = {
      {false, "a[b|]c", "one\r\ntwo", "aone\r\ntwo|c"},
      {true, "a[b|]c", "one\r\ntwo", "aone|c"},
      {true, "a|c", "", "a|c"},
  };
  for (const Case& c : cases) {
    TextEditModel model(kFont, c.single_line);
    Load(model, c.before);
    EXPECT_EQ(model.Paste(c.clip, std::strlen(c.clip) + 1), Result::kHandled);
    EXPECT_EQ(Show(model), c.after) << c.clip;
  }
  // A block without a NUL ends at its size.
  TextEditModel model(kFont, false);
  model.Paste("abcdef", 3);
  EXPECT_EQ(Show(model), "abc|");
}

TEST(TextEditModel, BufferGrowsByTheNeedPlusOneHundred) {
  TextEditModel model(kFont, false);
  EXPECT_EQ(model.Capacity(), 16u);
  for (int i = 0; i < 15; ++i) model.TypeChar('x');
  EXPECT_EQ(model.Capacity(), 16u);
  model.TypeChar('x');
  EXPECT_EQ(model.Capacity(), 116u);
  std::string big(5000, 'y');
  model.SetText(big.c_str());
  EXPECT_EQ(model.Capacity(), 5100u);
  model.SetText("short");
  EXPECT_EQ(model.Capacity(), 5100u) << "the buffer does not shrink";
}

TEST(TextEditModel, TooLongChangesAreRefusedWhole) {
  TextEditModel model(kFont, false);
  std::string most(65435, 'a');  // needs the largest buffer, 65535 bytes
  ASSERT_TRUE(model.SetText(most.c_str()));
  EXPECT_EQ(model.Capacity(), 65535u);
  for (int i = 0; i < 99; ++i) ASSERT_EQ(model.TypeChar('b'), Result::kHandled) << i;
  EXPECT_EQ(model.Length(), 65534u);
  EXPECT_EQ(model.TypeChar('c'), Result::kTooLong);
  PressKey(model, "End");
  EXPECT_EQ(model.Key(key::kEnter, KeyboardFlags{true, false}), Result::kTooLong);
  EXPECT_EQ(model.Length(), 65534u);

  std::string too_much(65535, 'a');
  EXPECT_FALSE(model.SetText(too_much.c_str()));
  EXPECT_EQ(model.Length(), 65534u) << "a refused text leaves the old one";
  TextEditModel fresh(kFont, false);
  EXPECT_FALSE(fresh.SetText(most.append("a").c_str())) << "65436 bytes need a buffer of 65536";
}

TEST(TextEditModel, RefusedPasteKeepsTheSelection) {
  TextEditModel model(kFont, false);
  std::string text(60000, 'a');
  model.SetText(text.c_str());
  PressKey(model, "S-Right");
  PressKey(model, "S-Right");
  std::string clip(5437, 'c');
  // 60000 - 2 + 5438 + 100 is one byte more than the field can ever hold.
  EXPECT_EQ(model.Paste(clip.c_str(), clip.size() + 1), Result::kTooLong);
  EXPECT_EQ(model.Length(), 60000u);
  EXPECT_EQ(model.SelectedText(), "aa");
  clip.pop_back();
  EXPECT_EQ(model.Paste(clip.c_str(), clip.size() + 1), Result::kHandled);
  EXPECT_EQ(model.Length(), 60000u - 2 + 5436);
}

TEST(TextEditModel, PointerPlacesTheCaretAndDragsASelection) {
  TextEditModel model(kFont, false);
  model.SetText("abcdef\r\nghij");
  // The text starts 3 pixels in; a press counts from 4 pixels further left.
  model.PointerDown(3 + 14 + 4, 5, false);
  EXPECT_EQ(Show(model), "ab|cdef\r\nghij");
  model.PointerDrag(3 + 28 + 4, 5);
  EXPECT_EQ(Show(model), "ab[cd|]ef\r\nghij");
  model.PointerDrag(3 + 7 + 4, 2 + 13 + 1);
  EXPECT_EQ(Show(model), "ab[cdef\r\ng|]hij");
  model.PointerDown(3 + 0, 3, true);  // Shift extends from the anchor
  EXPECT_EQ(Show(model), "[|ab]cdef\r\nghij");
  model.PointerDown(3 + 300, 3 + 13, false);  // past a line's end: its end
  EXPECT_EQ(Show(model), "abcdef\r\nghij|");
  model.PointerDown(3 + 300, 3 - 10, false);  // above the text: the start
  EXPECT_EQ(Show(model), "|abcdef\r\nghij");
}

TEST(TextEditModel, ScrollKeepsTheCaretInView) {
  // A field 100 pixels wide: the caret stays 6 pixels from the right edge,
  // and a caret in the first 8 pixels of the view brings a third back.
  TextEditModel model(kFont, true);
  model.SetText(std::string(30, 'a').c_str());
  struct Step {
    const char* key;
    int right_margin;
    int scroll_x;
  } steps[] = {
      {"End", 0, 210 - 94},  // caret x 210
      {"Left", 0, 116},      // 203: still in view
      {"C-Home", 0, 0},
      {"End", 20, 210 - 74},  // a neighbour takes 20 pixels
  };
  for (const Step& s : steps) {
    PressKey(model, s.key);
    model.KeepCaretVisible(100, 17, s.right_margin);
    EXPECT_EQ(model.ScrollX(), s.scroll_x) << s.key;
  }
  model.SetText(std::string(30, 'a').c_str());
  PressKey(model, "End");
  model.KeepCaretVisible(100, 17, 0);
  for (int i = 0; i < 13; ++i) PressKey(model, "Left");  // caret x 119 < 116 + 8
  model.KeepCaretVisible(100, 17, 0);
  EXPECT_EQ(model.ScrollX(), 116 - 33);

  TextEditModel tall(kFont, false);
  tall.SetText("1\r\n2\r\n3\r\n4");
  PressKey(tall, "C-End");
  tall.KeepCaretVisible(100, 40, 0);
  EXPECT_EQ(tall.ScrollY(), 39 + 13 - 40 + 4);
  PressKey(tall, "C-Home");
  tall.KeepCaretVisible(100, 40, 0);
  EXPECT_EQ(tall.ScrollY(), 0);
  EXPECT_TRUE(tall.TakeDirty());
  EXPECT_FALSE(tall.TakeDirty());
}

}  // namespace
