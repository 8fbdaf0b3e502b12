// The title bar, the scroll bars, the tool bar and the popup menu as the
// user works them, in a fake window: the close button fires only when
// released over it, the caption drags the window by the pointer's
// displacement, an arrow scrolls only once the repeat has ticked, the thumb
// follows the pointer, tool-bar hints follow the pointer, and menu keys
// never stop on what cannot be chosen.
#include <gtest/gtest.h>

#include "fake_window.h"
#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/core/placement.h"
#include "ui/widgets/popup_menu.h"
#include "ui/widgets/scroll_view.h"
#include "ui/widgets/title_bar.h"
#include "ui/widgets/tool_bar.h"
#include "ui/widgets/widget_state.h"

namespace {

// A root that fills its window (anchor 12), as resizable windows have.
class FillingRoot : public RecordingRoot {
 public:
  explicit FillingRoot(std::uint8_t anchor = kAnchorFill) { layout_flags_ = anchor; }
};

TitleBar& AddTitleBar(Container& root) {
  auto bar = std::make_unique<TitleBar>(Entry(1, kTitleBarKind, 0, 0, 100, 20, kAnchorTopEdge, "Caption"), &root);
  return static_cast<TitleBar&>(*root.Add(std::move(bar)));
}

TEST(TitleBarBehaviour, ButtonsDependOnTheWindow) {
  struct Case {
    WindowKind kind;
    std::uint8_t root_anchor;
    int width;
  } cases[] = {{WindowKind::kApplication, kAnchorFill, 60},
               {WindowKind::kApplication, kAnchorTopLeft, 40},
               {WindowKind::kDialog, kAnchorFill, 20},
               {WindowKind::kPopup, kAnchorFill, 20}};
  for (const Case& c : cases) {
    FillingRoot root(c.root_anchor);
    FakeWindow window(root);
    window.kind = c.kind;
    TitleBar& bar = AddTitleBar(root);
    EXPECT_EQ(bar.ButtonsWidth(), c.width) << static_cast<int>(c.kind) << "/" << int{c.root_anchor};
    EXPECT_EQ(bar.Width(), 300) << "the bar is as wide as its window";
    EXPECT_EQ(bar.Height(), 20);
  }
}

// Presses the left button on the bar at `x` as the window routes it.
void Press(FakeWindow& window, int x, int y = 10) { window.RouteLeftDown(x, y); }
void Release(FakeWindow& window, int x, int y = 10) {
  window.RouteLeftUp(x, y);
  window.RouteCaptureLost();
}

TEST(TitleBarBehaviour, CloseFiresOnlyWhenReleasedOverIt) {
  FillingRoot root;
  FakeWindow window(root);
  TitleBar& bar = AddTitleBar(root);
  const int close = 290, caption = 100;

  Press(window, close);
  EXPECT_TRUE(bar.ShowsPressed(kCloseButton));
  window.RoutePointerMove(caption, 10);
  EXPECT_FALSE(bar.ShowsPressed(kCloseButton));
  EXPECT_EQ(bar.HeldButton(), kCloseButton);
  EXPECT_EQ(window.position.x, 100) << "a held button does not drag the window";
  Release(window, caption);
  EXPECT_TRUE(root.log.empty());

  Press(window, close);
  window.RoutePointerMove(caption, 10);
  window.RoutePointerMove(close - 5, 15);
  EXPECT_TRUE(bar.ShowsPressed(kCloseButton));
  Release(window, close - 5, 15);
  EXPECT_EQ(root.log, (std::vector<std::string>{"close"}));
  EXPECT_EQ(bar.HeldButton(), kNoTitleButton);
}

TEST(TitleBarBehaviour, ButtonsSendTheirSystemCommands) {
  FillingRoot root;
  FakeWindow window(root);
  AddTitleBar(root);
  Press(window, 270);  // maximise
  Release(window, 270);
  window.placement = kPlacementMaximised;
  Press(window, 270);  // now restore
  Release(window, 270);
  Press(window, 250);  // minimise
  Release(window, 250);
  Press(window, 250);  // released on the maximise button: nothing
  Release(window, 270);
  EXPECT_EQ(window.commands, (std::vector<unsigned>{command::kMaximise, command::kRestore, command::kMinimise}));
}

TEST(TitleBarBehaviour, DoubleClickOnTheCaptionMaximisesOnlyResizableApplicationWindows) {
  {
    FillingRoot root;
    FakeWindow window(root);
    AddTitleBar(root);
    window.RouteLeftDouble(100, 10);
    Release(window, 100);
    EXPECT_EQ(window.commands, (std::vector<unsigned>{command::kMaximise}));
  }
  {
    FillingRoot root(kAnchorTopLeft);
    FakeWindow window(root);
    AddTitleBar(root);
    window.RouteLeftDouble(100, 10);
    Release(window, 100);
    EXPECT_TRUE(window.commands.empty());
  }
}

TEST(TitleBarBehaviour, CaptionDragMovesTheWindowByThePointersDisplacement) {
  FillingRoot root;
  FakeWindow window(root);
  AddTitleBar(root);
  window.position = Point{200, 150};
  Press(window, 50, 8);
  // The window follows, so each move arrives relative to where it is now.
  window.RoutePointerMove(60, 13);
  EXPECT_EQ(window.position.x, 210);
  EXPECT_EQ(window.position.y, 155);
  window.RoutePointerMove(45, 8);
  EXPECT_EQ(window.position.x, 205);
  EXPECT_EQ(window.position.y, 155);
  Release(window, 45, 8);
  window.RoutePointerMove(80, 10);
  EXPECT_EQ(window.position.x, 205) << "no drag once released";
}

// A view of 400 x 900 content in a 200 x 150 widget, tracking the steps
// the bars ask for.
class CountingView : public ScrollView {
 public:
  CountingView(const LayoutEntry& entry, Container* parent) : ScrollView(entry, parent) { SetContentSize(400, 900); }
  void ScrollStep(int part) override {
    steps.push_back(part);
    ScrollView::ScrollStep(part);
  }
  std::vector<int> steps;
};

class ScrollBarTest : public ::testing::Test {
 protected:
  ScrollBarTest() {
    auto made = std::make_unique<CountingView>(Entry(40, 20, 0, 0, 200, 150), &root_);
    view_ = static_cast<CountingView*>(root_.Add(std::move(made)));
  }
  ScrollBar& Vertical() { return view_->VerticalBar(); }

  FillingRoot root_;
  FakeWindow window_{root_};
  CountingView* view_;
};

TEST_F(ScrollBarTest, BarsShowWhereTheContentDoesNotFit) {
  EXPECT_TRUE(view_->HorizontalBar().IsVisible());
  EXPECT_TRUE(Vertical().IsVisible());
  EXPECT_EQ(view_->ViewArea(), (Rect{0, 0, 185, 135}));
  EXPECT_EQ(Vertical().Bounds(), (Rect{185, 0, 200, 135}));
  EXPECT_EQ(view_->HorizontalBar().Bounds(), (Rect{0, 135, 185, 150}));
  EXPECT_EQ(Vertical().Id(), 42);
  view_->SetContentSize(100, 900);
  EXPECT_FALSE(view_->HorizontalBar().IsVisible());
  EXPECT_EQ(Vertical().Bounds(), (Rect{185, 0, 200, 150}));
}

TEST_F(ScrollBarTest, HeldArrowStepsOnlyWithTheRepeatAndWhileThePointerIsOnIt) {
  const int x = 192, down = 128;
  window_.RouteLeftDown(x, down);
  EXPECT_EQ(window_.repeating, &Vertical());
  EXPECT_TRUE(Vertical().ShowsPressed(kDownArrow));
  window_.RouteLeftUp(x, down);
  window_.RouteCaptureLost();
  EXPECT_TRUE(view_->steps.empty()) << "released before the first tick";
  EXPECT_EQ(window_.repeating, nullptr);

  window_.RouteLeftDown(x, down);
  window_.repeating->RepeatTick();
  window_.repeating->RepeatTick();
  window_.RoutePointerMove(x - 50, down);  // off the arrow: the ticks wait
  EXPECT_FALSE(Vertical().ShowsPressed(kDownArrow));
  window_.repeating->RepeatTick();
  window_.RoutePointerMove(x, down);
  window_.repeating->RepeatTick();
  window_.RouteLeftUp(x, down);
  window_.RouteCaptureLost();
  EXPECT_EQ(view_->steps, (std::vector<int>{kDownArrow, kDownArrow, kDownArrow}));
  EXPECT_EQ(view_->ScrollY(), 48);
}

TEST_F(ScrollBarTest, RepeatStopsWhenTheWindowLosesTheMouse) {
  window_.RouteLeftDown(192, 5);
  window_.RouteCaptureLost();  // a dialog came up before the release
  window_.repeating->RepeatTick();
  EXPECT_TRUE(view_->steps.empty());
  EXPECT_EQ(window_.repeating, nullptr);
  EXPECT_FALSE(Vertical().ShowsPressed(kUpArrow));
}

TEST_F(ScrollBarTest, ThumbFollowsTheDragAndTrackClicksDoNothing) {
  ScrollBarGeometry before = Vertical().Geometry();
  int grab = before.ThumbStart() + 4;
  window_.RouteLeftDown(192, grab);
  EXPECT_TRUE(Vertical().DraggingThumb());
  window_.RoutePointerMove(192, grab + 30);
  window_.RoutePointerMove(192, grab + 45);
  EXPECT_NEAR(Vertical().Geometry().ThumbStart(), before.ThumbStart() + 45, 1);
  window_.RoutePointerMove(192, 1000);  // far below: the view stops at its end
  EXPECT_EQ(view_->ScrollY(), 900 - 135);
  window_.RouteLeftUp(192, 1000);
  window_.RouteCaptureLost();

  int scrolled = view_->ScrollY();
  window_.RouteLeftDown(192, 30);  // the track above the thumb
  window_.RouteLeftUp(192, 30);
  window_.RouteCaptureLost();
  EXPECT_EQ(view_->ScrollY(), scrolled);
  EXPECT_EQ(window_.repeating, nullptr);
}

const ToolBarItem kTools[] = {
    {11, "First", "a", kToolPush},  {12, "Second", "b", kToolPush},  {0, nullptr, nullptr, kToolSeparator},
    {13, "Third", "c", kToolRadio}, {0, nullptr, nullptr, kToolEnd},
};

TEST(ToolBarBehaviour, HintsFollowThePointerAndReleaseSendsTheCommandUnderIt) {
  FillingRoot root;
  FakeWindow window(root);
  window.position = Point{100, 50};
  // Without a skin every picture is one pixel: buttons are 9 pixels long.
  auto made = std::make_unique<ToolBar>(Entry(30, kToolBarKind, 0, 0, 24, 200, 0, ToolBar::TableText(kTools)), &root);
  ToolBar& bar = static_cast<ToolBar&>(*root.Add(std::move(made)));
  ASSERT_EQ(bar.Layout().Count(), 4);

  window.RoutePointerMove(12, 4);
  EXPECT_EQ(window.hint, "First");
  EXPECT_EQ(window.hint_at.x, 112);
  window.RoutePointerMove(12, 13);
  EXPECT_EQ(window.hint, "Second");
  window.RoutePointerMove(12, 20);  // the separator
  EXPECT_EQ(window.hint, "");
  window.RoutePointerMove(12, 4);

  window.RouteLeftDown(12, 4);
  EXPECT_TRUE(bar.IsPressed());
  EXPECT_EQ(bar.Layout().LookOf(1, bar.Hot(), bar.IsPressed()), ToolButtonLook::kSunken);
  window.RoutePointerMove(12, 13);
  window.RouteLeftUp(12, 13);
  window.RouteCaptureLost();
  EXPECT_EQ(root.log, (std::vector<std::string>{"notify12:30"}));

  window.RouteLeftDown(12, 38);
  window.RouteLeftUp(12, 38);
  window.RouteLeftDown(12, 38);
  window.RouteLeftUp(12, 38);
  EXPECT_EQ(root.log, (std::vector<std::string>{"notify12:30", "notify13:30"})) << "a checked radio sends nothing";

  window.RouteMouseLeave();
  EXPECT_EQ(window.hint, "");
  EXPECT_EQ(bar.Hot(), 0);
}

const MenuItem kMenu[] = {
    {kMenuSeparator, nullptr, 0, 0, 0, nullptr},
    {kMenuItem, "Copy", 1735, 1, 0, "copybmp"},
    {kMenuItem, "Select all\tCtrl+A", 1745, 0, 0, "selectallbmp"},
    {kMenuItem, "Erase", 1010, 0, 0, "deletebmp"},
    {kMenuEnd, nullptr, 0, 0, 0, nullptr},
};

TEST(PopupMenuBehaviour, KeysWalkTheChoosableItemsAndEnterNeedsAHotOne) {
  RecordingRoot root;
  RecordingWidget& owner = root.AddRecording(5, 0, 0, 10, 10);
  PopupMenu menu(kMenu, owner);
  root.log.clear();
  menu.KeyDown(key::kEnter);
  EXPECT_TRUE(root.log.empty()) << "Enter with no hot item";
  menu.KeyDown(key::kDown);
  EXPECT_EQ(menu.Hot(), 3);
  menu.KeyDown(key::kDown);
  menu.KeyDown(key::kDown);
  EXPECT_EQ(menu.Hot(), 3);
  menu.KeyDown(key::kUp);
  EXPECT_EQ(menu.Hot(), 4);
  menu.MouseMove(5, 4);  // the separator
  EXPECT_EQ(menu.Hot(), 0);
  menu.MouseMove(5, 20);  // the disabled item keeps it
  EXPECT_EQ(menu.Hot(), 0);
  menu.MouseMove(5, 30);
  menu.KeyDown(key::kEnter);
  EXPECT_EQ(root.log, (std::vector<std::string>{"notify1745:5"}));
}

}  // namespace
