// The press-and-release protocol of the toolkit's buttons (title-bar
// buttons, scroll-bar arrows, and the push buttons built on them): a press
// on a part arms it; while the mouse button is held the part shows pressed
// only while the pointer is over it; releasing over it fires it, releasing
// anywhere else does nothing.
//
//   state        pointer over the part   pointer off it      release
//   idle         -                       -                   nothing
//   held, on     held, on                held, off (raised)  fires
//   held, off    held, on (pressed)      held, off           nothing
#pragma once

class PressTracker {
 public:
  // A press on `part` (0: on no part, nothing is armed).
  void Press(int part) {
    held_ = part;
    over_ = part != 0;
  }
  // The pointer moved onto `part_under_pointer`; true when the pressed look
  // of the held part changed, so it must be repainted.
  bool Follow(int part_under_pointer) {
    if (held_ == 0) return false;
    bool over = part_under_pointer == held_;
    bool changed = over != over_;
    over_ = over;
    return changed;
  }
  // The button went up: the part that fires, or 0.
  int Release() {
    int fired = over_ ? held_ : 0;
    held_ = 0;
    over_ = false;
    return fired;
  }

  int Held() const { return held_; }
  // The held part shows pressed now.
  bool ShowsPressed(int part) const { return part != 0 && held_ == part && over_; }

 private:
  int held_ = 0;
  bool over_ = false;
};
