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
      : button(root.AddRecording(1, 10, 10, 50, 20)),
        label(root.AddRecording(2, 10, 50, 50, 20, false)),
        field(root.AddRecording(3, 10, 90, 50, 20)) {
    window.RouteActivate(true);
    root.log.clear();
  }

  RecordingRoot root;
  RecordingWidget& button;
  RecordingWidget& label;
  RecordingWidget& field;
  FakeWindow window{root};
};

TEST_F(RoutingTest, PressedWidgetGetsMovesAndReleaseOffItself) {
  window.RouteLeftDown(20, 20);
  window.RoutePointerMove(20, 60);   // over the label now
  window.RoutePointerMove(200, 150);  // over nothing
  window.RouteLeftUp(200, 150);
  EXPECT_EQ(root.log, (std::vector<std::string>{"down:1", "leave:1", "move:1", "leave:2", "move:1", "up:1"}));
  EXPECT_EQ(window.PressedWidget(), &button);
  window.RouteCaptureLost();
  EXPECT_EQ(window.PressedWidget(), nullptr);
  root.log.clear();
  window.RoutePointerMove(20, 20);
  EXPECT_EQ(root.log, (std::vector<std::string>{"move:1"}));
}

TEST_F(RoutingTest, PressOnAWidgetThatCannotTakeTheFocusTellsTheFocusedOne) {
  window.RouteLeftDown(20, 100);
  window.RouteCaptureLost();
  root.log.clear();
  window.RouteLeftDown(20, 60);
  EXPECT_EQ(root.log, (std::vector<std::string>{"leave:3", "away:3", "down:2"}));
  EXPECT_EQ(FocusedWidget(), &field);
}

TEST_F(RoutingTest, RightButtonActsOnlyWhileNoWidgetIsPressed) {
  window.RouteLeftDown(20, 20);
  window.RouteRightDown(20, 100);
  window.RouteRightUp(20, 100);
  EXPECT_EQ(root.log, (std::vector<std::string>{"down:1"}));
  window.RouteLeftUp(20, 20);
  window.RouteCaptureLost();
  root.log.clear();
  window.RouteRightDown(20, 100);
  window.RouteRightUp(20, 100);
  EXPECT_EQ(root.log, (std::vector<std::string>{"leave:1", "lose:1", "gain:3", "rdown:3", "rup:3"}));
}

TEST_F(RoutingTest, PointerOverNothingOrAnInactiveWindowShowsTheArrow) {
  window.cursor = CursorShape::kTextBeam;
  window.RoutePointerMove(20, 20);
  EXPECT_EQ(window.cursor, CursorShape::kTextBeam) << "the widget chooses its own cursor";
  window.RoutePointerMove(250, 150);
  EXPECT_EQ(window.cursor, CursorShape::kArrow);
  window.cursor = CursorShape::kTextBeam;
  window.RouteActivate(false);
  window.RoutePointerMove(20, 20);
  EXPECT_EQ(window.cursor, CursorShape::kArrow);
}

TEST_F(RoutingTest, KeysGoToTheFocusedWidgetOrTheRoot) {
  EXPECT_EQ(FocusedWidget(), &button) << "activation gives the first tab stop the focus";
  SetFocusedWidget(nullptr);
  root.log.clear();
  window.RouteKeyDown(key::kEnter, false);
  window.RouteChar('a');
  EXPECT_EQ(root.log, (std::vector<std::string>{"notify13:1000", "rootchara"}));
  root.log.clear();
  SetFocusedWidget(&field);
  window.RouteKeyDown(key::kEnter, false);
  window.RouteChar('a');
  window.RouteKeyDown(command::kClose, false);
  EXPECT_EQ(root.log, (std::vector<std::string>{"gain:3", "key13:3", "chara:3", "close"}));
}

TEST_F(RoutingTest, DeactivationSavesTheFocusAndActivationGivesItBack) {
  SetFocusedWidget(&field);
  root.log.clear();
  window.pointer = Point{20, 20};
  window.RouteActivate(false);
  EXPECT_EQ(FocusedWidget(), nullptr);
  window.RouteActivate(true);
  EXPECT_EQ(FocusedWidget(), &field);
  EXPECT_EQ(root.log, (std::vector<std::string>{"lose:3", "inactive:1", "inactive:2", "inactive:3", "gain:3",
                                                "move:1", "active:1", "active:2", "active:3"}));
}

TEST_F(RoutingTest, ActivationKeepsAFocusThatNeverLeft) {
  window.RememberFocus(&button);
  SetFocusedWidget(&field);
  window.RouteActivate(true);  // a popup menu closed: no deactivation came before
  EXPECT_EQ(FocusedWidget(), &field);
}

TEST_F(RoutingTest, ActivationWithoutUsableSavedFocusTakesTheFirstTabStop) {
  SetFocusedWidget(&field);
  window.RouteActivate(false);
  field.SetVisible(false);
  window.RouteActivate(true);
  EXPECT_EQ(FocusedWidget(), &button);
}

}  // namespace
