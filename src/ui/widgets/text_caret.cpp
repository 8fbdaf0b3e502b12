#include "ui/widgets/text_caret.h"

#include "ui/core/wait_table.h"
#include "ui/widgets/widget.h"

namespace {

constexpr int kBlinkMs = 500;

struct Caret {
  HANDLE timer = nullptr;
  bool ticking = false;
  Widget* owner = nullptr;
  Rect place;
  bool shown = false;
  // Moved since the last tick: the blink starts over, so the caret stays
  // shown through the next tick. (Restarting the timer instead would cost a
  // system call for every key and every appended log line.)
  bool moved = false;
};

Caret& TheCaret() {
  static Caret caret;
  return caret;
}

void Blink() {
  Caret& caret = TheCaret();
  if (caret.owner == nullptr) return;
  if (caret.moved) {
    caret.moved = false;
    if (caret.shown) return;
  }
  caret.shown = !caret.shown;
  caret.owner->Invalidate(caret.place);
}

}  // namespace

void ShowTextCaret(Widget& owner, const Rect& place) {
  Caret& caret = TheCaret();
  if (caret.timer == nullptr) caret.timer = CreateTimer(Blink);
  if (caret.owner != &owner || !(caret.place == place)) {
    if (caret.owner != nullptr) caret.owner->Invalidate(caret.place);
    caret.owner = &owner;
    caret.place = place;
    owner.Invalidate(place);
  } else if (!caret.shown) {
    owner.Invalidate(place);
  }
  caret.shown = true;
  caret.moved = true;
  // A user who asked for carets that do not blink gets a steady one.
  if (caret.timer != nullptr && !caret.ticking && GetCaretBlinkTime() != INFINITE) {
    StartTimer(caret.timer, kBlinkMs);
    caret.ticking = true;
  }
}

void HideTextCaret(const Widget& owner) {
  Caret& caret = TheCaret();
  if (caret.owner != &owner) return;
  caret.owner->Invalidate(caret.place);
  caret.owner = nullptr;
  caret.shown = false;
  if (caret.timer != nullptr && caret.ticking) StopTimer(caret.timer);
  caret.ticking = false;
}

bool TextCaretShows(const Widget& owner, Rect& place) {
  const Caret& caret = TheCaret();
  if (caret.owner != &owner || !caret.shown) return false;
  place = caret.place;
  return true;
}
