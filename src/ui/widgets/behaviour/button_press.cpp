#include "ui/widgets/behaviour/button_press.h"

#include "ui/core/key_codes.h"

ButtonPress::Step ButtonPress::PointerDown() {
  bool was = Pressed();
  tracker_.Press(kControl);
  return Step{!was, false};
}

ButtonPress::Step ButtonPress::PointerMove(const Rect& bounds, int x, int y) {
  bool inside = x >= bounds.left && x <= bounds.right && y >= bounds.top && y <= bounds.bottom;
  return Step{tracker_.Follow(inside ? kControl : 0), false};
}

ButtonPress::Step ButtonPress::PointerUp() {
  bool was = Pressed();
  bool fires = tracker_.Release() == kControl;
  return Step{was, fires};
}

ButtonPress::Step ButtonPress::KeyDown(unsigned key) {
  if (key != key::kSpace) return Step{};
  return PointerDown();
}

ButtonPress::Step ButtonPress::KeyUp(unsigned key) {
  if (key != key::kSpace || !Pressed()) return Step{};
  return PointerUp();
}

ButtonPress::Step ButtonPress::FocusLost() {
  bool was = Pressed();
  tracker_.Release();
  return Step{was, false};
}
