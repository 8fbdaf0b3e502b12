#include "ui/widgets/title_bar_buttons.h"

int TitleButtonsWidth(WindowKind window_kind, bool parent_fills_window) {
  if (window_kind != WindowKind::kApplication) return kTitleButtonSize;
  return parent_fills_window ? 3 * kTitleButtonSize : 2 * kTitleButtonSize;
}

TitleButton TitleButtonAt(const Rect& bar, int buttons_width, int px, int py) {
  if (py < bar.top || py >= bar.top + kTitleButtonSize) return kNoTitleButton;
  if (px < bar.right - buttons_width || px >= bar.right) return kNoTitleButton;
  if (px >= bar.right - kTitleButtonSize) return kCloseButton;
  if (px >= bar.right - 2 * kTitleButtonSize)
    return buttons_width == 2 * kTitleButtonSize ? kMinimiseButton : kMaximiseButton;
  return kMinimiseButton;
}

Rect TitleButtonArea(const Rect& bar, int buttons_width, TitleButton button) {
  int slot = 0;  // buttons counted from the right end
  switch (button) {
    case kCloseButton: slot = 1; break;
    case kMaximiseButton: slot = 2; break;
    case kMinimiseButton: slot = buttons_width == 2 * kTitleButtonSize ? 2 : 3; break;
    case kNoTitleButton: return Rect{};
  }
  int left = bar.right - slot * kTitleButtonSize;
  return Rect{left, bar.top, left + kTitleButtonSize, bar.bottom};
}
