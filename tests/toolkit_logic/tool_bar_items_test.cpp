// Tool-bar item tables: the layout along a vertical or horizontal bar, the
// item under a point, the look of each button, and what a click does to
// push, toggle and radio buttons.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/widgets/tool_bar_items.h"

namespace {

// Pictures 16 pixels square, as the folder browser's; separators 16 wide.
struct SixteenPixels : ToolBarLayout::Measure {
  int PictureLength(const ToolBarItem&) const override { return 16; }
  int SeparatorLength() const override { return 16; }
};

const ToolBarItem kItems[] = {
    {11, "New folder", "makedirbmp", kToolPush},
    {12, "Delete", "deletebmp", kToolPush},
    {0, nullptr, nullptr, kToolSeparator},
    {13, "Details", "refresh", kToolToggle},
    {14, "Large", "rename", kToolRadio},
    {15, "Small", "save4", kToolRadio},
    {0, nullptr, nullptr, kToolEnd},
};

TEST(ToolBarLayout, VerticalBarStacksItemsFromTheTop) {
  ToolBarLayout layout;
  layout.Build(kItems, Rect{10, 20, 34, 228}, SixteenPixels{});  // 24 wide, 208 high
  ASSERT_TRUE(layout.Vertical());
  ASSERT_EQ(layout.Count(), 6);
  int offsets[] = {20, 44, 68, 84, 108, 132};
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(layout.Offset(i), offsets[i - 1]) << i;
  EXPECT_EQ(layout.Length(1), 24);
  EXPECT_EQ(layout.Length(3), 16);
  EXPECT_EQ(layout.UsedLength(), 136);
  EXPECT_EQ(layout.ItemArea(2), (Rect{10, 44, 34, 68}));

  struct Case {
    int x, y, item;
  } cases[] = {
      {10, 20, 1}, {33, 43, 1}, {20, 44, 2}, {20, 70, 3}, {20, 155, 6}, {20, 156, 0},  // below the last item
      {34, 30, 0},                                                                     // beside the bar
      {9, 30, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(layout.ItemAt(c.x, c.y), c.item) << c.x << "," << c.y;
}

TEST(ToolBarLayout, HorizontalBarUsesWidthsAndTheSeparatorPicture) {
  struct WideSeparator : SixteenPixels {
    int SeparatorLength() const override { return 10; }
  };
  ToolBarLayout layout;
  layout.Build(kItems, Rect{0, 0, 300, 24}, WideSeparator{});
  ASSERT_FALSE(layout.Vertical());
  EXPECT_EQ(layout.Offset(4), 58);
  EXPECT_EQ(layout.ItemAt(60, 10), 4);
  EXPECT_EQ(layout.ItemAt(60, 24), 0);
  EXPECT_EQ(layout.ItemArea(1), (Rect{0, 0, 24, 24}));

  // The window grew to the left: the bar moved and got wider.
  layout.SetChecked(4, true);
  layout.Relocate(Rect{10, 5, 320, 29});
  EXPECT_EQ(layout.ItemArea(1), (Rect{10, 5, 34, 29}));
  EXPECT_EQ(layout.ItemAt(70, 20), 4);
  EXPECT_EQ(layout.ItemAt(70, 4), 0);
  EXPECT_TRUE(layout.IsChecked(4));
}

TEST(ToolBarLayout, ClicksOnEachKindOfItem) {
  ToolBarLayout layout;
  layout.Build(kItems, Rect{0, 0, 24, 208}, SixteenPixels{});
  struct Step {
    int item;
    bool sends;
    std::uint16_t command;
    bool toggle, large, small;  // checked states afterwards
  } steps[] = {
      {1, true, 11, false, false, false}, {3, false, 0, false, false, false},  // separator
      {4, true, 13, true, false, false},                                       // toggle on
      {5, true, 14, true, true, false},                                        // radio
      {5, false, 0, true, true, false},                                        // a checked radio does nothing
      {6, true, 15, true, false, true},                                        // the other radio clears it
      {4, true, 13, false, false, true},                                       // toggle off
      {0, false, 0, false, false, true},
  };
  for (const Step& s : steps) {
    ToolClick click = layout.Click(s.item);
    EXPECT_EQ(click.sends, s.sends) << s.item;
    EXPECT_EQ(click.command, s.command) << s.item;
    EXPECT_EQ(layout.IsChecked(4), s.toggle) << s.item;
    EXPECT_EQ(layout.IsChecked(5), s.large) << s.item;
    EXPECT_EQ(layout.IsChecked(6), s.small) << s.item;
  }
}

TEST(ToolBarLayout, LookFollowsHotPressedAndChecked) {
  ToolBarLayout layout;
  layout.Build(kItems, Rect{0, 0, 24, 208}, SixteenPixels{});
  layout.SetChecked(5, true);
  struct Case {
    int item, hot;
    bool pressed;
    ToolButtonLook look;
  } cases[] = {
      {1, 0, false, ToolButtonLook::kFlat},   {1, 1, false, ToolButtonLook::kRaised},
      {1, 1, true, ToolButtonLook::kSunken},  {1, 2, true, ToolButtonLook::kFlat},
      {5, 0, false, ToolButtonLook::kSunken}, {3, 3, true, ToolButtonLook::kFlat},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout.LookOf(c.item, c.hot, c.pressed), c.look) << c.item << " hot " << c.hot;
  }
}

}  // namespace
