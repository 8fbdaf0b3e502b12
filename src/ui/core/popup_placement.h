// Where popups go: a menu or a hint is moved so that it stays whole on the
// screen, the way the user can still reach every item near the screen's
// right and bottom edges. `screen` is the work area of the monitor the
// popup opens on.
#pragma once

#include "graphics/rect.h"
#include "ui/core/geometry.h"

// A popup of `width` x `height` wanted with its top-left corner at `at`
// (screen coordinates), moved left and up as far as needed to fit the
// screen, and never past its left or top edge.
Point KeepOnScreen(Point at, int width, int height, const Rect& screen);

// The hint window for a pointer at `pointer`: 20 pixels right of and below
// it, the text width plus 8 wide and the line height plus 6 high, on the
// screen.
Rect HintPlacement(Point pointer, int text_width, int line_height, const Rect& screen);
