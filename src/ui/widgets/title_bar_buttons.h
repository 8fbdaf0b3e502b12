// Where the buttons of a title bar lie. Every button is 20 x 20 pixels at
// the bar's right end: close rightmost, then maximise (or restore), then
// minimise. Only an application window has minimise; only one whose bar
// belongs to a container that fills the window can also be maximised.
#pragma once

#include <cstdint>

#include "graphics/rect.h"
#include "ui/core/window_kind.h"

enum TitleButton : int {
  kNoTitleButton = 0,
  kCloseButton = 1,
  kMaximiseButton = 2,  // maximise or restore
  kMinimiseButton = 3,
};

inline constexpr int kTitleButtonSize = 20;

// The width of the button area: 60 (close, maximise, minimise), 40 (close,
// minimise) or 20 (close).
int TitleButtonsWidth(WindowKind window_kind, bool parent_fills_window);

// The button under (px, py) of a bar with the rectangle `bar`.
TitleButton TitleButtonAt(const Rect& bar, int buttons_width, int px, int py);

// The square of a button, over the bar's full height (what a press repaints).
Rect TitleButtonArea(const Rect& bar, int buttons_width, TitleButton button);
