#include "ui/core/hint_window.h"

#include <cstring>

#include "graphics/graphics_resources.h"
#include "text/fixed_text.h"
#include "ui/core/native_window.h"
#include "ui/core/popup_placement.h"

namespace {

class HintWindow final : public NativeWindow {
 public:
  HintWindow() : NativeWindow(WindowKind::kPassivePopup, 0, 0, 1, 1) {}

  void Draw(Canvas& canvas) override {
    const FontRecord& font = Graphics().NormalFont();
    canvas.SelectFont(font);
    canvas.SetColours(BlackColour, HintColour);
    Rect inside{1, 1, Width() - 1, Height() - 1};
    canvas.TextOutCentredV(3, inside, text.c_str(), text.size());
    canvas.SelectPen(Graphics().ShadowPen());
    canvas.HLine(0, 0, Width());
    canvas.HLine(0, Height() - 1, Width());
    canvas.VLine(0, 0, Height());
    canvas.VLine(Width() - 1, 0, Height());
  }

  FixedText<63> text;
  bool shown = false;
};

HintWindow& Hint() {
  static HintWindow hint;
  return hint;
}

}  // namespace

void ShowToolkitHint(const char* text, Point screen) {
  HintWindow& hint = Hint();
  std::size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length == 0 || length > FixedText<63>::kMaxLength) {
    HideToolkitHint();
    return;
  }
  const FontRecord& font = Graphics().NormalFont();
  Rect place = HintPlacement(screen, TextWidth(font, text, length), font.LineHeight(), WorkAreaAt(screen.x, screen.y));
  hint.text.Assign(text);
  hint.Place(place.left, place.top, place.Width(), place.Height());
  hint.Invalidate(Rect{0, 0, hint.Width(), hint.Height()});
  if (!hint.shown) {
    hint.Show();
    hint.shown = true;
  }
}

void HideToolkitHint() {
  HintWindow& hint = Hint();
  if (!hint.shown) return;
  hint.shown = false;
  hint.text.Clear();
  hint.Hide();
}

void DestroyToolkitHint() {
  HideToolkitHint();
  Hint().Destroy();
}
