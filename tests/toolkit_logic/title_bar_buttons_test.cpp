// Title-bar buttons: which buttons a window shows, which one lies under a
// point, and the press protocol they share with the other buttons: release
// over the pressed button fires it, release off it does nothing.
#include <gtest/gtest.h>

#include "ui/widgets/behaviour/press_tracker.h"
#include "ui/widgets/title_bar_buttons.h"

namespace {

TEST(TitleBarButtons, ButtonAreaByWindowKind) {
  EXPECT_EQ(TitleButtonsWidth(WindowKind::kApplication, true), 60);
  EXPECT_EQ(TitleButtonsWidth(WindowKind::kApplication, false), 40);
  EXPECT_EQ(TitleButtonsWidth(WindowKind::kDialog, true), 20);  // a dialog has only close
  EXPECT_EQ(TitleButtonsWidth(WindowKind::kPopup, true), 20);
}

TEST(TitleBarButtons, ButtonUnderAPoint) {
  const Rect bar{0, 0, 300, 20};
  struct Case {
    int buttons_width, x, y;
    TitleButton expected;
  } cases[] = {
      {60, 299, 0, kCloseButton},     {60, 280, 19, kCloseButton},    {60, 279, 10, kMaximiseButton},
      {60, 260, 10, kMaximiseButton}, {60, 259, 10, kMinimiseButton}, {60, 240, 10, kMinimiseButton},
      {60, 239, 10, kNoTitleButton},  // the caption
      {40, 279, 10, kMinimiseButton}, {40, 259, 10, kNoTitleButton},  {20, 285, 10, kCloseButton},
      {20, 279, 10, kNoTitleButton},  // the rest is caption
      {60, 290, 20, kNoTitleButton},  // below the buttons
      {60, 300, 10, kNoTitleButton},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TitleButtonAt(bar, c.buttons_width, c.x, c.y), c.expected)
        << c.buttons_width << " at " << c.x << "," << c.y;
  }
  EXPECT_EQ(TitleButtonArea(bar, 60, kCloseButton), (Rect{280, 0, 300, 20}));
  EXPECT_EQ(TitleButtonArea(bar, 60, kMaximiseButton), (Rect{260, 0, 280, 20}));
  EXPECT_EQ(TitleButtonArea(bar, 60, kMinimiseButton), (Rect{240, 0, 260, 20}));
  EXPECT_EQ(TitleButtonArea(bar, 40, kMinimiseButton), (Rect{260, 0, 280, 20}));
}

TEST(PressTracker, ReleaseFiresOnlyOverThePressedPart) {
  struct Case {
    const char* name;
    std::vector<int> moves;  // parts under the pointer after the press on 1
    int fired;
  } cases[] = {
      {"release in place", {}, 1},    {"dragged off", {0}, 0},     {"onto another part", {2}, 0},
      {"off and back", {0, 2, 1}, 1}, {"back and off", {1, 0}, 0},
  };
  for (const Case& c : cases) {
    PressTracker press;
    press.Press(1);
    for (int part : c.moves) press.Follow(part);
    EXPECT_EQ(press.Release(), c.fired) << c.name;
    EXPECT_EQ(press.Held(), 0) << c.name;
  }
}

TEST(PressTracker, ReportsWhenThePressedLookChanges) {
  PressTracker press;
  EXPECT_FALSE(press.Follow(1)) << "nothing held";
  press.Press(1);
  EXPECT_TRUE(press.ShowsPressed(1));
  EXPECT_FALSE(press.Follow(1));
  EXPECT_TRUE(press.Follow(0));
  EXPECT_FALSE(press.ShowsPressed(1));
  EXPECT_FALSE(press.Follow(2));
  EXPECT_TRUE(press.Follow(1));
  press.Press(0);
  EXPECT_EQ(press.Release(), 0);
}

}  // namespace
