// The widget base without a screen: hit testing (left column and top row
// outside), tab order with wrap-around, the focus and hot state released by
// disabling and hiding, anchoring on resize, and the repaint bookkeeping.
#include <gtest/gtest.h>

#include "capture_logger.h"
#include "fake_window.h"
#include "log/logger.h"
#include "ui/widgets/widget_state.h"

namespace {

TEST(WidgetHitTest, LeftColumnAndTopRowAreOutside) {
  RecordingRoot root;
  RecordingWidget& button = root.AddRecording(1, 10, 20, 30, 10);
  struct Case {
    int x, y;
    bool hits;
  } cases[] = {
      {10, 25, false},  // left column
      {20, 20, false},  // top row
      {11, 21, true},   // first pixel inside
      {39, 29, true},   // last pixel inside
      {40, 25, false},  // right edge
      {20, 30, false},  // bottom edge
  };
  for (const Case& c : cases) {
    EXPECT_EQ(root.HitTest(c.x, c.y) == &button, c.hits) << c.x << "," << c.y;
  }
}

TEST(WidgetHitTest, HiddenAndDisabledWidgetsAreNotHitAndLaterChildrenLieOnTop) {
  RecordingRoot root;
  RecordingWidget& below = root.AddRecording(1, 0, 0, 50, 50);
  RecordingWidget& above = root.AddRecording(2, 20, 20, 50, 50);
  EXPECT_EQ(root.HitTest(30, 30), &above);
  above.SetEnabled(false);
  EXPECT_EQ(root.HitTest(30, 30), &below);
  below.SetVisible(false);
  EXPECT_EQ(root.HitTest(30, 30), nullptr);
}

TEST(WidgetHitTest, HiddenContainerHidesItsChildren) {
  RecordingRoot root;
  auto group = std::make_unique<Container>(Entry(5, 2, 0, 0, 100, 100), &root);
  Container& container = static_cast<Container&>(*root.Add(std::move(group)));
  std::vector<std::string> log;
  Widget* inner = container.Add(std::make_unique<RecordingWidget>(Entry(6, 1, 10, 10, 20, 20), &container, log));
  EXPECT_EQ(root.HitTest(15, 15), inner);
  container.SetVisible(false);
  EXPECT_EQ(root.HitTest(15, 15), nullptr);
}

// Tab order: ids of the focus after each step from a start focus.
TEST(TabStep, MovesThroughEligibleWidgetsAndWraps) {
  struct Case {
    const char* name;
    int start;  // id of the focused widget, 0 none
    bool forward;
    int expected;  // 0 none
  } cases[] = {
      {"next", 1, true, 3},          // 2 is not focusable
      {"wrap forward", 5, true, 1},  // 5 is the last eligible
      {"wrap backward", 1, false, 5},
      {"back over disabled", 5, false, 3},  // 4 is disabled
      {"no focus starts at first", 0, true, 1},
      {"no focus backward starts at last", 0, false, 5},
  };
  for (const Case& c : cases) {
    RecordingRoot root;
    FakeWindow window(root);
    root.AddRecording(1, 0, 0, 10, 10);
    root.AddRecording(2, 0, 20, 10, 10, false);
    root.AddRecording(3, 0, 40, 10, 10);
    root.AddRecording(4, 0, 60, 10, 10).SetEnabled(false);
    root.AddRecording(5, 0, 80, 10, 10);
    SetFocusedWidget(c.start != 0 ? root.FindById(static_cast<std::uint16_t>(c.start)) : nullptr);
    window.RouteKeyDown(9, !c.forward);
    Widget* focused = FocusedWidget();
    EXPECT_EQ(focused != nullptr ? focused->Id() : 0, c.expected) << c.name;
  }
}

TEST(TabStep, OnlyEligibleWidgetKeepsTheFocusAndNoneClearsIt) {
  RecordingRoot root;
  FakeWindow window(root);
  RecordingWidget& only = root.AddRecording(1, 0, 0, 10, 10);
  root.AddRecording(2, 0, 20, 10, 10, false);
  SetFocusedWidget(&only);
  root.log.clear();
  window.RouteKeyDown(9, false);
  EXPECT_EQ(FocusedWidget(), &only);
  EXPECT_TRUE(root.log.empty()) << "refocusing the focused widget must not lose and gain it";

  only.SetEnabled(false);
  EXPECT_EQ(FocusedWidget(), nullptr);
  window.RouteKeyDown(9, false);
  EXPECT_EQ(FocusedWidget(), nullptr);
}

TEST(TabStep, ContainerIsVisitedBeforeItsChildrenForwardAndAfterThemBackward) {
  RecordingRoot root;
  FakeWindow window(root);
  root.AddRecording(1, 0, 0, 10, 10);
  auto group = std::make_unique<Container>(Entry(2, 2, 0, 20, 100, 50), &root);
  Container& container = static_cast<Container&>(*root.Add(std::move(group)));
  container.Add(std::make_unique<RecordingWidget>(Entry(3, 1, 0, 20, 10, 10), &container, root.log));
  container.Add(std::make_unique<RecordingWidget>(Entry(4, 1, 0, 40, 10, 10), &container, root.log));
  root.AddRecording(5, 0, 80, 10, 10);

  std::vector<int> forward, backward;
  for (int i = 0; i < 5; ++i) {
    window.RouteKeyDown(9, false);
    forward.push_back(FocusedWidget()->Id());
  }
  for (int i = 0; i < 5; ++i) {
    window.RouteKeyDown(9, true);
    backward.push_back(FocusedWidget()->Id());
  }
  EXPECT_EQ(forward, (std::vector<int>{1, 3, 4, 5, 1}));
  EXPECT_EQ(backward, (std::vector<int>{5, 4, 3, 1, 5}));
}

TEST(FocusRelease, DisablingTheFocusedWidgetMovesTheFocusOnAndLeavesHot) {
  RecordingRoot root;
  FakeWindow window(root);
  RecordingWidget& first = root.AddRecording(1, 0, 0, 10, 10);
  root.AddRecording(2, 0, 20, 10, 10);
  SetFocusedWidget(&first);
  SetHotWidget(&first);
  root.log.clear();
  first.SetEnabled(false);
  EXPECT_EQ(FocusedWidget()->Id(), 2);
  EXPECT_EQ(HotWidget(), nullptr);
  EXPECT_EQ(root.log, (std::vector<std::string>{"leave:1", "lose:1", "gain:2"}));
}

TEST(FocusRelease, HidingAContainerMovesTheFocusOutOfIt) {
  RecordingRoot root;
  FakeWindow window(root);
  auto group = std::make_unique<Container>(Entry(2, 2, 0, 0, 100, 50), &root);
  Container& container = static_cast<Container&>(*root.Add(std::move(group)));
  // The first eligible widget of the window lies inside the container.
  Widget* inner = container.Add(std::make_unique<RecordingWidget>(Entry(3, 1, 0, 0, 10, 10), &container, root.log));
  Widget* other = container.Add(std::make_unique<RecordingWidget>(Entry(4, 1, 0, 20, 10, 10), &container, root.log));
  RecordingWidget& outside = root.AddRecording(5, 0, 80, 10, 10);
  SetFocusedWidget(other);
  SetHotWidget(inner);
  container.SetVisible(false);
  EXPECT_EQ(FocusedWidget(), &outside);
  EXPECT_EQ(HotWidget(), nullptr);
}

TEST(FocusRelease, HidingTheFocusedWidgetGivesTheFocusToTheNextOne) {
  RecordingRoot root;
  FakeWindow window(root);
  RecordingWidget& first = root.AddRecording(1, 0, 0, 10, 10);
  root.AddRecording(2, 0, 20, 10, 10);
  SetFocusedWidget(&first);
  first.SetVisible(false);
  EXPECT_EQ(FocusedWidget()->Id(), 2);
}

TEST(FocusRelease, DestroyedWidgetIsForgotten) {
  {
    RecordingRoot root;
    RecordingWidget& first = root.AddRecording(1, 0, 0, 10, 10);
    SetFocusedWidget(&first);
    SetHotWidget(&first);
  }
  EXPECT_EQ(FocusedWidget(), nullptr);
  EXPECT_EQ(HotWidget(), nullptr);
}

// Anchoring: the rectangle of a child after its container grew by 10 pixels
// along an edge. The child starts at (100, 50, 140, 70) in a container of
// (0, 0, 300, 200).
TEST(Anchoring, ChildrenFollowTheirAnchorCodes) {
  struct Case {
    std::uint8_t code;
    bool downward, rightward;
    int dx, dy;
    Rect expected;
  } cases[] = {
      {0, true, false, 10, 0, {90, 50, 130, 70}},   // grown to the left: keeps its distance to the left edge
      {1, true, false, 10, 0, {100, 50, 140, 70}},  // right-anchored stays
      {1, true, true, 10, 0, {110, 50, 150, 70}},   // grown to the right
      {3, true, true, 10, 10, {110, 60, 150, 80}},
      {2, false, true, 0, 10, {100, 50, 140, 70}},  // grown upward, bottom-anchored stays
      {0, false, true, 0, 10, {100, 40, 140, 60}},
      {4, false, false, 10, 10, {90, 40, 140, 60}},  // top edge: moves up, stretches over the new width
      {6, true, true, 10, 10, {100, 60, 150, 80}},
      {8, true, false, 10, 10, {90, 50, 130, 80}},
      {9, true, true, 10, 10, {110, 50, 150, 80}},
      {12, true, true, 10, 10, {100, 50, 150, 80}},
      {12, false, false, 10, 10, {90, 40, 140, 70}},
      {5, true, true, 10, 10, {100, 50, 140, 70}},  // not an anchor code: no adjustment
  };
  for (const Case& c : cases) {
    RecordingRoot root;
    Widget& child = root.AddRecording(1, 100, 50, 40, 20, true, c.code);
    root.ResizeBy(c.dx, c.dy, c.downward, c.rightward);
    EXPECT_EQ(child.Bounds(), c.expected)
        << "code " << int{c.code} << " down " << c.downward << " right " << c.rightward;
  }
}

TEST(Anchoring, WindowGrownToTheLeftKeepsTheRootAtTheClientOrigin) {
  RecordingRoot root(300, 200);
  FakeWindow window(root);
  Widget& left = root.AddRecording(1, 10, 30, 40, 20, true, kAnchorTopLeft);
  Widget& right = root.AddRecording(2, 250, 30, 40, 20, true, kAnchorTopRight);
  Widget& bar = root.AddRecording(3, 0, 0, 300, 20, true, kAnchorTopEdge);
  window.RouteResize(10, 0, false, true);
  EXPECT_EQ(root.Bounds(), (Rect{0, 0, 310, 200}));
  EXPECT_EQ(left.Bounds(), (Rect{10, 30, 50, 50}));
  EXPECT_EQ(right.Bounds(), (Rect{260, 30, 300, 50}));
  EXPECT_EQ(bar.Bounds(), (Rect{0, 0, 310, 20}));
}

TEST(Invalidation, MovesAndResizesRepaintWhatChanged) {
  RecordingRoot root;
  FakeWindow window(root);
  Widget& child = root.AddRecording(1, 10, 10, 20, 20);
  child.MoveBy(0, 0);
  child.ResizeBy(0, 0, true, true);
  EXPECT_TRUE(window.invalidated.empty());

  child.MoveBy(5, 0);
  EXPECT_EQ(window.invalidated, (std::vector<Rect>{{10, 10, 30, 30}, {15, 10, 35, 30}}));

  // Growing to the right and down: only the new stripes.
  window.invalidated.clear();
  child.ResizeBy(4, 6, true, true);
  EXPECT_EQ(window.invalidated, (std::vector<Rect>{{15, 30, 39, 36}, {35, 10, 39, 30}}));

  // Growing to the left moves the corner: old and new whole.
  window.invalidated.clear();
  child.ResizeBy(5, 0, true, false);
  EXPECT_EQ(window.invalidated, (std::vector<Rect>{{15, 10, 39, 36}, {10, 10, 39, 36}}));

  window.invalidated.clear();
  window.surface = false;
  child.MoveBy(1, 1);
  child.SetVisible(false);
  EXPECT_TRUE(window.invalidated.empty());
}

// A widget whose content hangs on its size asks for more than the stripe.
class CentredCaption : public RecordingWidget {
 public:
  using RecordingWidget::RecordingWidget;
  int RightRepaintExtent(int width) const override { return width; }
};

TEST(Invalidation, RepaintExtentWidensTheStripe) {
  RecordingRoot root;
  FakeWindow window(root);
  Widget* caption = root.Add(std::make_unique<CentredCaption>(Entry(1, 1, 0, 0, 100, 20), &root, root.log));
  caption->ResizeBy(-10, 0, true, true);
  EXPECT_EQ(window.invalidated, (std::vector<Rect>{{0, 0, 100, 20}}));
}

TEST(ShowRange, ShowsAndHidesTheIdsInTheRange) {
  RecordingRoot root;
  for (std::uint16_t id = 1; id <= 4; ++id) root.AddRecording(id, 0, id * 20, 10, 10);
  root.ShowRange(2, 3, false);
  EXPECT_TRUE(root.FindById(1)->IsVisible());
  EXPECT_FALSE(root.FindById(2)->IsVisible());
  EXPECT_FALSE(root.FindById(3)->IsVisible());
  EXPECT_TRUE(root.FindById(4)->IsVisible());
  EXPECT_TRUE(root.IsVisible());
}

TEST(ReadFieldText, TooLongTextIsRefusedWithAMessageAndTheFocus) {
  CaptureLogger logger;
  RecordingRoot root;
  FakeWindow window(root);
  RecordingWidget& field = root.AddRecording(7, 0, 0, 10, 10);
  field.text = "abcdefgh";

  FixedText<8> fits;
  FixedText<7> too_short;
  EXPECT_TRUE(root.ReadFieldText(7, fits));
  EXPECT_STREQ(fits.c_str(), "abcdefgh");
  EXPECT_TRUE(logger.messages.empty());

  EXPECT_FALSE(root.ReadFieldText(7, too_short));
  EXPECT_EQ(logger.messages, (std::vector<std::string>{"Text is too long"}));
  EXPECT_EQ(root.log.back(), "request:7");
  EXPECT_EQ(window.SavedFocus(), &field);

  EXPECT_FALSE(root.ReadFieldText(99, fits));
}

TEST(WidgetDefaults, KeysAndCommandsTravelUpToTheRoot) {
  RecordingRoot root;
  Widget* plain = root.Add(std::make_unique<Widget>(Entry(4, 1, 0, 0, 10, 10), &root));
  plain->KeyCommand(13);
  plain->KeyChar('x');
  plain->SetTextNumber(-1234);
  EXPECT_EQ(root.log, (std::vector<std::string>{"notify13:4", "rootcharx"}));
  EXPECT_FALSE(plain->IsEnabled());
  EXPECT_FALSE(plain->IsFocusable());
}

}  // namespace
