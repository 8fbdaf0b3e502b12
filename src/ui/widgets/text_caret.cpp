#include "ui/widgets/text_caret.h"

#include "ui/core/wait_table.h"
#include "ui/widgets/widget.h"

namespace {

constexpr int kBlinkMs = 500;

struct Caret {
  HANDLE timer = nullptr;
  Widget* owner = nullptr;
  Rect place;
  bool shown = false;
};

Caret& TheCaret() {
  static Caret caret;
  return caret;
}

void Blink() {
  Caret& caret = TheCaret();
  if (caret.owner == nullptr) return;
  caret.shown = !caret.shown;
  caret.owner->Invalidate(caret.place);
}

}  // namespace

void ShowTextCaret(Widget& owner, const Rect& place) {
  Caret& caret = TheCaret();
  if (caret.timer == nullptr) caret.timer = CreateTimer(Blink);
  if (caret.owner != nullptr && (caret.owner != &owner || !(caret.place == place))) {
    caret.owner->Invalidate(caret.place);
  }
  caret.owner = &owner;
  caret.place = place;
  caret.shown = true;
  owner.Invalidate(place);
  // A user who asked for carets that do not blink gets a steady one.
  if (caret.timer != nullptr && GetCaretBlinkTime() != INFINITE) StartTimer(caret.timer, kBlinkMs);
}

void HideTextCaret(const Widget& owner) {
  Caret& caret = TheCaret();
  if (caret.owner != &owner) return;
  caret.owner->Invalidate(caret.place);
  caret.owner = nullptr;
  caret.shown = false;
  if (caret.timer != nullptr) StopTimer(caret.timer);
}

bool TextCaretShows(const Widget& owner, Rect& place) {
  const Caret& caret = TheCaret();
  if (caret.owner != &owner || !caret.shown) return false;
  place = caret.place;
  return true;
}
