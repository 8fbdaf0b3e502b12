// How a window routes its input into the widget tree: the pressed widget
// keeps the mouse until the capture ends, focus follows presses, keys go to
// the focused widget or the root, and activation saves and restores focus.
#include <gtest/gtest.h>

#include "fake_window.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/widget_state.h"

namespace {

class RoutingTest : public ::testing::Test {
 protected:
  RoutingTest()
      : button_(root_.AddRecording(1, 10, 10, 50, 20)),
        label_(root_.AddRecording(2, 10, 50, 50, 20, false)),
        field_(root_.AddRecording(3, 10, 90, 50, 20)) {
    window_.RouteActivate(true);
    root_.log.clear();
  }

  RecordingRoot root_;
  RecordingWidget& button_;
  RecordingWidget& label_;
  RecordingWidget& field_;
  FakeWindow window_{root_};
};

TEST_F(RoutingTest, PressedWidgetGetsMovesAndReleaseOffItself) {
  window_.RouteLeftDown(20, 20);
  window_.RoutePointerMove(20, 60);    // over the label now
  window_.RoutePointerMove(200, 150);  // over nothing
  window_.RouteLeftUp(200, 150);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"down:1", "leave:1", "move:1", "leave:2", "move:1", "up:1"}));
  EXPECT_EQ(window_.PressedWidget(), &button_);
  window_.RouteCaptureLost();
  EXPECT_EQ(window_.PressedWidget(), nullptr);
  root_.log.clear();
  window_.RoutePointerMove(20, 20);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"move:1"}));
}

TEST_F(RoutingTest, PressOnAWidgetThatCannotTakeTheFocusTellsTheFocusedOne) {
  window_.RouteLeftDown(20, 100);
  window_.RouteCaptureLost();
  root_.log.clear();
  window_.RouteLeftDown(20, 60);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"leave:3", "away:3", "down:2"}));
  EXPECT_EQ(FocusedWidget(), &field_);
}

TEST_F(RoutingTest, RightButtonActsOnlyWhileNoWidgetIsPressed) {
  window_.RouteLeftDown(20, 20);
  window_.RouteRightDown(20, 100);
  window_.RouteRightUp(20, 100);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"down:1"}));
  window_.RouteLeftUp(20, 20);
  window_.RouteCaptureLost();
  root_.log.clear();
  window_.RouteRightDown(20, 100);
  window_.RouteRightUp(20, 100);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"leave:1", "lose:1", "gain:3", "rdown:3", "rup:3"}));
}

TEST_F(RoutingTest, PointerOverNothingOrAnInactiveWindowShowsTheArrow) {
  window_.cursor = CursorShape::kTextBeam;
  window_.RoutePointerMove(20, 20);
  EXPECT_EQ(window_.cursor, CursorShape::kTextBeam) << "the widget chooses its own cursor";
  window_.RoutePointerMove(250, 150);
  EXPECT_EQ(window_.cursor, CursorShape::kArrow);
  window_.cursor = CursorShape::kTextBeam;
  window_.RouteActivate(false);
  window_.RoutePointerMove(20, 20);
  EXPECT_EQ(window_.cursor, CursorShape::kArrow);
}

TEST_F(RoutingTest, KeysGoToTheFocusedWidgetOrTheRoot) {
  EXPECT_EQ(FocusedWidget(), &button_) << "activation gives the first tab stop the focus";
  SetFocusedWidget(nullptr);
  root_.log.clear();
  window_.RouteKeyDown(key::kEnter, false);
  window_.RouteChar('a');
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify13:1000", "rootchara"}));
  root_.log.clear();
  SetFocusedWidget(&field_);
  window_.RouteKeyDown(key::kEnter, false);
  window_.RouteChar('a');
  window_.RouteKeyDown(command::kClose, false);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"gain:3", "key13:3", "chara:3", "close"}));
}

TEST_F(RoutingTest, DeactivationSavesTheFocusAndActivationGivesItBack) {
  SetFocusedWidget(&field_);
  root_.log.clear();
  window_.pointer = Point{20, 20};
  window_.RouteActivate(false);
  EXPECT_EQ(FocusedWidget(), nullptr);
  window_.RouteActivate(true);
  EXPECT_EQ(FocusedWidget(), &field_);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"lose:3", "inactive:1", "inactive:2", "inactive:3", "gain:3", "move:1",
                                                 "active:1", "active:2", "active:3"}));
}

TEST_F(RoutingTest, ActivationKeepsAFocusThatNeverLeft) {
  window_.RememberFocus(&button_);
  SetFocusedWidget(&field_);
  window_.RouteActivate(true);  // a popup menu closed: no deactivation came before
  EXPECT_EQ(FocusedWidget(), &field_);
}

TEST_F(RoutingTest, ActivationWithoutUsableSavedFocusTakesTheFirstTabStop) {
  SetFocusedWidget(&field_);
  window_.RouteActivate(false);
  field_.SetVisible(false);
  window_.RouteActivate(true);
  EXPECT_EQ(FocusedWidget(), &button_);
}

}  // namespace
