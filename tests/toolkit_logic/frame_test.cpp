// The frame of a window without a screen: which frame part lies under the
// mouse in each resize mode, the size limits, resizing by keys and by a
// dragged edge, the placement changes, and keeping popups on the screen.
#include <gtest/gtest.h>

#include "ui/core/frame_geometry.h"
#include "ui/core/key_codes.h"
#include "ui/core/placement.h"
#include "ui/core/popup_placement.h"

namespace {

TEST(FramePart, EdgesAndCornersByResizeMode) {
  // A 200 x 100 window with a 2-pixel border: edges 4 pixels, corners 14.
  struct Case {
    ResizeMode mode;
    int x, y;
    FramePart part;
  } cases[] = {
      {ResizeMode::kBoth, 0, 50, FramePart::kLeft},          {ResizeMode::kBoth, 3, 50, FramePart::kLeft},
      {ResizeMode::kBoth, 4, 50, FramePart::kClient},        {ResizeMode::kBoth, 3, 13, FramePart::kTopLeft},
      {ResizeMode::kBoth, 3, 14, FramePart::kLeft},          {ResizeMode::kBoth, 3, 86, FramePart::kBottomLeft},
      {ResizeMode::kBoth, 196, 50, FramePart::kRight},       {ResizeMode::kBoth, 195, 50, FramePart::kClient},
      {ResizeMode::kBoth, 199, 0, FramePart::kTopRight},     {ResizeMode::kBoth, 199, 99, FramePart::kBottomRight},
      {ResizeMode::kBoth, 100, 0, FramePart::kTop},          {ResizeMode::kBoth, 13, 0, FramePart::kTopLeft},
      {ResizeMode::kBoth, 186, 2, FramePart::kTopRight},     {ResizeMode::kBoth, 100, 97, FramePart::kBottom},
      {ResizeMode::kBoth, 190, 97, FramePart::kBottomRight}, {ResizeMode::kHorizontal, 1, 1, FramePart::kLeft},
      {ResizeMode::kHorizontal, 198, 98, FramePart::kRight}, {ResizeMode::kHorizontal, 100, 0, FramePart::kClient},
      {ResizeMode::kVertical, 1, 1, FramePart::kTop},        {ResizeMode::kVertical, 198, 98, FramePart::kBottom},
      {ResizeMode::kVertical, 0, 50, FramePart::kClient},    {ResizeMode::kFixed, 0, 0, FramePart::kClient},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FramePartAt(c.mode, 2, 200, 100, c.x, c.y), c.part)
        << "mode " << int(c.mode) << " at " << c.x << "," << c.y;
  }
  EXPECT_EQ(CursorForPart(FramePart::kLeft), CursorShape::kResizeWe);
  EXPECT_EQ(CursorForPart(FramePart::kBottom), CursorShape::kResizeNs);
  EXPECT_EQ(CursorForPart(FramePart::kBottomRight), CursorShape::kResizeNwse);
  EXPECT_EQ(CursorForPart(FramePart::kTopRight), CursorShape::kResizeNesw);
  EXPECT_EQ(CursorForPart(FramePart::kClient), CursorShape::kArrow);
}

TEST(FrameLimits, ResizeModesFromAnchorsAndTheirLimits) {
  EXPECT_EQ(ResizeModeForAnchor(4), ResizeMode::kHorizontal);
  EXPECT_EQ(ResizeModeForAnchor(6), ResizeMode::kHorizontal);
  EXPECT_EQ(ResizeModeForAnchor(8), ResizeMode::kVertical);
  EXPECT_EQ(ResizeModeForAnchor(9), ResizeMode::kVertical);
  EXPECT_EQ(ResizeModeForAnchor(12), ResizeMode::kBoth);
  EXPECT_EQ(ResizeModeForAnchor(0), ResizeMode::kFixed);
  EXPECT_EQ(ResizeModeForAnchor(5), ResizeMode::kFixed);

  struct Case {
    ResizeMode mode;
    int max_width, max_height;
  } cases[] = {
      {ResizeMode::kBoth, 1280, 1024},
      {ResizeMode::kHorizontal, 1280, 100},
      {ResizeMode::kVertical, 200, 1024},
      {ResizeMode::kFixed, 200, 100},
  };
  for (const Case& c : cases) {
    SizeLimits limits = LimitsForMode(c.mode, 200, 100, 1280, 1024);
    EXPECT_EQ(limits.min_width, 200);
    EXPECT_EQ(limits.min_height, 100);
    EXPECT_EQ(limits.max_width, c.max_width) << int(c.mode);
    EXPECT_EQ(limits.max_height, c.max_height) << int(c.mode);
  }
  // A window made larger than the screen is not squeezed by its own limits.
  SizeLimits huge = LimitsForMode(ResizeMode::kBoth, 2000, 1500, 1280, 1024);
  EXPECT_EQ(huge.max_width, 2000);
  EXPECT_EQ(huge.max_height, 1500);
}

TEST(FrameResize, KeysKeepTheSizeWithinTheLimits) {
  SizeLimits limits{200, 100, 400, 300};
  FrameBox frame{50, 60, 200, 100};
  FrameBox grown = MoveResize(frame, -8, 0, 8, 0, limits);
  EXPECT_EQ(grown.x, 42);
  EXPECT_EQ(grown.width, 208);
  FrameBox shrunk = MoveResize(frame, 0, 0, -8, -8, limits);
  EXPECT_EQ(shrunk.width, 200);
  EXPECT_EQ(shrunk.height, 100);
  FrameBox tall = MoveResize(FrameBox{0, 0, 396, 296}, 0, 0, 8, 8, limits);
  EXPECT_EQ(tall.width, 400);
  EXPECT_EQ(tall.height, 300);
}

TEST(FrameResize, DraggedEdgeFollowsTheMouseAndStopsAtTheLimits) {
  SizeLimits limits{200, 100, 1280, 1024};
  FrameBox frame{100, 100, 300, 200};
  struct Case {
    FramePart part;
    int mouse_dx, mouse_dy;
    FrameBox expected;
    int applied_dx, applied_dy;
  } cases[] = {
      {FramePart::kRight, 30, 40, {100, 100, 330, 200}, 30, 0},
      {FramePart::kLeft, -30, 0, {70, 100, 330, 200}, -30, 0},
      {FramePart::kLeft, 150, 0, {200, 100, 200, 200}, 100, 0},                 // right edge stays
      {FramePart::kBottomRight, -500, -500, {100, 100, 200, 100}, -100, -100},  // never below the made size
      {FramePart::kBottomRight, 2000, 2000, {100, 100, 1280, 1024}, 980, 824},  // nor above the screen
      {FramePart::kTopLeft, -10, -20, {90, 80, 310, 220}, -10, -20},
      {FramePart::kTop, 5, 50, {100, 150, 300, 150}, 0, 50},
      {FramePart::kClient, 10, 10, {100, 100, 300, 200}, 0, 0},
  };
  for (const Case& c : cases) {
    FrameDrag drag = DragFrame(c.part, frame, c.mouse_dx, c.mouse_dy, limits);
    EXPECT_EQ(drag.frame.x, c.expected.x) << int(c.part);
    EXPECT_EQ(drag.frame.y, c.expected.y) << int(c.part);
    EXPECT_EQ(drag.frame.width, c.expected.width) << int(c.part);
    EXPECT_EQ(drag.frame.height, c.expected.height) << int(c.part);
    EXPECT_EQ(drag.applied_dx, c.applied_dx) << int(c.part);
    EXPECT_EQ(drag.applied_dy, c.applied_dy) << int(c.part);
  }
}

TEST(Placement, CommandsByState) {
  struct Case {
    unsigned command;
    std::uint8_t state;
    bool to_maximised;
    bool applies;
    std::uint8_t transition;
    ShowCommand show;
    std::uint8_t final;
  } cases[] = {
      {command::kMinimise, 2, false, true, 3, ShowCommand::kMinimise, 0},
      {command::kMinimise, 1, false, true, 8, ShowCommand::kMinimise, 0},
      {command::kMinimise, 0, false, false, 0, ShowCommand::kMinimise, 0},
      {command::kMaximise, 0, false, true, 6, ShowCommand::kMaximise, 1},
      {command::kMaximise, 2, false, true, 4, ShowCommand::kMaximise, 1},
      {command::kMaximise, 1, false, false, 0, ShowCommand::kMaximise, 0},
      {command::kRestore, 0, true, true, 6, ShowCommand::kMaximise, 1},
      {command::kRestore, 0, false, true, 5, ShowCommand::kRestore, 2},
      {command::kRestore, 1, false, true, 7, ShowCommand::kRestore, 2},
      {command::kRestore, 2, false, false, 0, ShowCommand::kRestore, 0},
      {command::kRestore, 4, false, false, 0, ShowCommand::kRestore, 0},  // a change under way
      {command::kClose, 2, false, false, 0, ShowCommand::kRestore, 0},
  };
  for (const Case& c : cases) {
    PlacementChange change = PlanPlacement(c.command, c.state, c.to_maximised);
    EXPECT_EQ(change.applies, c.applies) << std::hex << c.command << " from " << int(c.state);
    if (!c.applies) continue;
    EXPECT_EQ(change.transition, c.transition) << std::hex << c.command << " from " << int(c.state);
    EXPECT_EQ(change.show, c.show) << std::hex << c.command << " from " << int(c.state);
    EXPECT_EQ(change.final, c.final) << std::hex << c.command << " from " << int(c.state);
  }
  for (std::uint8_t state = 0; state <= 8; ++state) {
    EXPECT_EQ(ShowsMaximised(state), state == 1 || state == 4 || state == 6) << int(state);
    EXPECT_EQ(KeepsStoredSize(state), state == 0 || state == 3 || state == 5 || state == 8) << int(state);
  }
}

TEST(PopupPlacement, PopupsStayWholeOnTheScreen) {
  struct Case {
    Point at;
    Point expected;
  } cases[] = {
      {{100, 100}, {100, 100}},    {{1250, 100}, {1180, 100}},  // near the right edge: moved left
      {{100, 1000}, {100, 944}},                                // near the bottom: moved up
      {{1279, 1023}, {1180, 944}}, {{-20, -5}, {0, 0}},
  };
  const Rect screen{0, 0, 1280, 1024};
  for (const Case& c : cases) {
    Point placed = KeepOnScreen(c.at, 100, 80, screen);
    EXPECT_EQ(placed.x, c.expected.x) << c.at.x << "," << c.at.y;
    EXPECT_EQ(placed.y, c.expected.y) << c.at.x << "," << c.at.y;
  }
  // A second monitor left of the first: its work area has negative x.
  Point left = KeepOnScreen(Point{-30, 500}, 100, 80, Rect{-1024, 0, 0, 768});
  EXPECT_EQ(left.x, -100);
  EXPECT_EQ(left.y, 500);
  EXPECT_EQ(HintPlacement(Point{100, 100}, 60, 13, screen), (Rect{120, 120, 188, 139}));
  EXPECT_EQ(HintPlacement(Point{1270, 1020}, 60, 13, screen), (Rect{1212, 1005, 1280, 1024}));
}

}  // namespace
