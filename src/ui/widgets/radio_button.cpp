#include "ui/widgets/radio_button.h"

#include "graphics/skin_archive.h"
#include "ui/widgets/container.h"
#include "ui/widgets/radio_group.h"
#include "ui/widgets/toggle_paint.h"
#include "ui/widgets/widget_state.h"

RadioButton::RadioButton(const LayoutEntry& entry, Container* parent) : PushButton(entry, parent) {
  height_ = kHeight;
  role_ = AccessibleRole::kRadioButton;
}

void RadioButton::Describe(int part, AccessibleItem& item) const {
  Widget::Describe(part, item);
  item.action = AccessibleAction::kCheck;
  if (checked_) item.states |= kAccessibleChecked;
}

void RadioButton::SetChecked(int state) {
  checked_ = state != 0;
  InvalidateSelf();
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
  if (checked_) ClearRestOfRadioGroup(*this);
}

void RadioButton::Action() {
  if (checked_) return;
  SetChecked(1);
  if (parent_ != nullptr) parent_->Notify(id_, 0);
}

void RadioButton::Paint(Canvas& canvas) {
  // Unchecked and checked, normal and pressed or disabled.
  static const char* const names[2][2] = {{"radiopat0", "radiopat1"}, {"radiopat2", "radiopat3"}};
  bool dimmed = Pressed() || !enabled_;
  const Image& circle = Skin().GetFacePicture(names[dimmed ? 1 : 0][checked_ ? 1 : 0]);
  PaintToggle(canvas, *this,
              ToggleLook{12, circle, caption_, BlackColour, IsFocused() ? HotColour : FaceColour, IsFocused()});
}
