// The press-and-release protocol of push buttons, image buttons, check boxes
// and radio buttons: the pressed look follows the pointer while the mouse
// button is held, and the action fires on release over the control or on
// release of Space. It is the toolkit's PressTracker for a one-part control,
// plus the keyboard and the focus.
//
//   event                           raised            pressed
//   pointer (or Space) goes down    pressed           pressed
//   held pointer moves over it      pressed *         pressed
//   held pointer moves off it       raised            raised *
//   pointer goes up                 raised            raised, fires
//   Space goes up                   raised            raised, fires
//   focus lost                      raised            raised
//
// "Held" means the control is the window's pressed widget; a control pressed
// by Space does not hear of pointer moves. (*) only while a press is held:
// a control released by a lost focus stays raised when the pointer returns.
#pragma once

#include "graphics/rect.h"
#include "ui/widgets/behaviour/press_tracker.h"

class ButtonPress {
 public:
  struct Step {
    bool repaint = false;  // the pressed look changed
    bool fires = false;    // the control's action is due
  };

  Step PointerDown();
  // The held pointer moved to (x, y); `bounds` is the control's rectangle,
  // whose right and bottom edges count as inside here.
  Step PointerMove(const Rect& bounds, int x, int y);
  Step PointerUp();
  // Space presses and releases; other keys change nothing.
  Step KeyDown(unsigned key);
  Step KeyUp(unsigned key);
  // Releases the press without its action.
  Step FocusLost();

  bool Pressed() const { return tracker_.ShowsPressed(kControl); }

 private:
  static constexpr int kControl = 1;  // the control is a press tracker's only part

  PressTracker tracker_;
};
