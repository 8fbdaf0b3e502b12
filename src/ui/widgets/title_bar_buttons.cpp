#include "ui/widgets/title_bar_buttons.h"

int TitleButtonsWidth(WindowKind windowKind, bool parentFillsWindow) {
  if (windowKind != WindowKind::kApplication) return kTitleButtonSize;
  return parentFillsWindow ? 3 * kTitleButtonSize : 2 * kTitleButtonSize;
}

TitleButton TitleButtonAt(const Rect& bar, int buttonsWidth, int px, int py) {
  if (py < bar.top || py >= bar.top + kTitleButtonSize) return kNoTitleButton;
  if (px < bar.right - buttonsWidth || px >= bar.right) return kNoTitleButton;
  if (px >= bar.right - kTitleButtonSize) return kCloseButton;
  if (px >= bar.right - 2 * kTitleButtonSize) return buttonsWidth == 2 * kTitleButtonSize ? kMinimizeButton : kMaximizeButton;
  return kMinimizeButton;
}

Rect TitleButtonArea(const Rect& bar, int buttonsWidth, TitleButton button) {
  int slot = 0;  // buttons counted from the right end
  switch (button) {
    case kCloseButton: slot = 1; break;
    case kMaximizeButton: slot = 2; break;
    case kMinimizeButton: slot = buttonsWidth == 2 * kTitleButtonSize ? 2 : 3; break;
    case kNoTitleButton: return Rect{};
  }
  int left = bar.right - slot * kTitleButtonSize;
  return Rect{left, bar.top, left + kTitleButtonSize, bar.bottom};
}
