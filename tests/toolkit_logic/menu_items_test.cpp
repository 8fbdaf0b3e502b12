// Popup-menu item tables: the end entry, the size of the menu, the entry
// under the pointer, and the arrow-key walk that never stops on a separator
// or a disabled item.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/widgets/menu_items.h"

namespace {

FontMetrics EveryCharacterSixWide() {
  FontMetrics font;
  std::memset(font.widths, 6, sizeof font.widths);
  font.line_height = 13;
  return font;
}

// The log view's menu of the setup window, with a separator and a
// disabled item added.
const MenuItem kMenu[] = {
    {kMenuItem, "Select all\tCtrl+A", 1745, 0, 0, "selectallbmp"},  // 1: top 0
    {kMenuItem, "Deselect all", 1750, 0, 0, "unselectall"},         // 2: top 20
    {kMenuSeparator, nullptr, 0, 0, 0, nullptr},                    // 3: top 40, 8 high
    {kMenuItem, "Copy selected text", 1735, 1, 0, "copybmp"},       // 4: top 48, disabled
    {0x101, "Erase Log", 1010, 0, 0, "deletebmp"},                  // 5: top 68; only the low byte is the kind
    {0xFF03, nullptr, 0, 0, 0, nullptr},                            // the end
};

TEST(MenuItems, TableGeometry) {
  MenuItems menu(kMenu);
  EXPECT_EQ(menu.Count(), 5);
  EXPECT_EQ(menu.Height(), 4 * 20 + 8);
  EXPECT_EQ(menu.EntryTop(4), 48);
  // "Copy selected text" is 18 characters; "Select all" and "Ctrl+A" are 16
  // with the 24-pixel gap between them.
  EXPECT_EQ(menu.Width(EveryCharacterSixWide()), 46 + 16 * 6 + 24);

  const MenuItem narrow[] = {{kMenuItem, "A", 1, 0, 0, nullptr},
                             {kMenuSeparator, nullptr, 0, 0, 0, nullptr},
                             {kMenuEnd, nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(MenuItems(narrow).Width(EveryCharacterSixWide()), 46 + 30);
  const MenuItem empty[] = {{kMenuEnd, nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(MenuItems(empty).Count(), 0);
}

TEST(MenuItems, TextSplitsAtTheTab) {
  MenuText with_shortcut = SplitMenuText("Select all\tCtrl+A");
  EXPECT_EQ(std::string(with_shortcut.label, with_shortcut.label_length), "Select all");
  EXPECT_STREQ(with_shortcut.shortcut, "Ctrl+A");
  MenuText plain = SplitMenuText("Erase Log");
  EXPECT_EQ(plain.label_length, 9u);
  EXPECT_EQ(plain.shortcut, nullptr);
}

TEST(MenuItems, PointerMakesEnabledItemsHot) {
  MenuItems menu(kMenu);
  struct Case {
    int hot, y, expected;
  } cases[] = {
      {0, 0, 1},  {0, 19, 1}, {1, 20, 2}, {2, 40, 0},  // separator: nothing hot
      {2, 47, 0}, {2, 50, 2},                          // disabled item: the hot item stays
      {0, 68, 5}, {5, 87, 5}, {5, 88, 0},              // below the last entry
      {5, -1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(menu.HotAfterPointer(c.hot, c.y), c.expected) << "hot " << c.hot << " y " << c.y;
  }
}

TEST(MenuItems, ArrowKeysSkipSeparatorsAndDisabledItemsAndWrap) {
  MenuItems menu(kMenu);
  struct Case {
    int hot;
    bool down;
    int expected;
  } cases[] = {
      {0, true, 1}, {1, true, 2}, {2, true, 5}, {5, true, 1}, {0, false, 5}, {5, false, 2}, {1, false, 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(menu.NextChoosable(c.hot, c.down), c.expected) << "hot " << c.hot << " down " << c.down;
  }
  const MenuItem nothing_enabled[] = {{kMenuItem, "A", 1, 1, 0, nullptr},
                                      {kMenuSeparator, nullptr, 0, 0, 0, nullptr},
                                      {kMenuEnd, nullptr, 0, 0, 0, nullptr}};
  EXPECT_EQ(MenuItems(nothing_enabled).NextChoosable(0, true), 0);
  EXPECT_EQ(MenuItems(nothing_enabled).NextChoosable(0, false), 0);
}

}  // namespace
