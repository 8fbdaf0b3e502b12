#include "ui/widgets/check_box.h"

#include "graphics/skin_archive.h"
#include "ui/widgets/container.h"
#include "ui/widgets/toggle_paint.h"

CheckBox::CheckBox(const LayoutEntry& entry, Container* parent) : PushButton(entry, parent) {
  height_ = kHeight;
  role_ = AccessibleRole::kCheckBox;
}

void CheckBox::Describe(int part, AccessibleItem& item) const {
  Widget::Describe(part, item);
  item.action = state_ == kUnchecked ? AccessibleAction::kCheck : AccessibleAction::kUncheck;
  if (state_ == kChecked) item.states |= kAccessibleChecked;
  if (state_ == kThirdState) item.states |= kAccessibleMixed;
}

void CheckBox::SetText(const char* text) {
  own_caption_ = text != nullptr ? text : "";
  caption_ = own_caption_.c_str();
  InvalidateSelf();
}

void CheckBox::SetChecked(int state) {
  state_ = state >= kUnchecked && state <= kThirdState ? state : kChecked;
  InvalidateSelf();
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
}

void CheckBox::SetColours(GdiColour text, GdiColour back) {
  text_colour_ = text;
  back_colour_ = back;
}

void CheckBox::Action() {
  state_ = state_ == kUnchecked ? kChecked : kUnchecked;
  InvalidateSelf();
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
  if (parent_ != nullptr) parent_->Notify(id_, static_cast<std::uint16_t>(state_));
}

void CheckBox::RightDown(int, int) { Apply(press_.PointerDown()); }

void CheckBox::RightUp(int, int) {
  if (!press_.PointerUp().fires) return;
  state_ = state_ == kUnchecked && three_state_ ? kThirdState : kUnchecked;
  InvalidateSelf();
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
}

void CheckBox::Paint(Canvas& canvas) {
  // Normal pictures, then the pressed-or-disabled ones, by state.
  static const char* const names[2][3] = {{"check1", "check3", "check5"}, {"check2", "check4", "check6"}};
  bool dimmed = Pressed() || !enabled_;
  const Image& box = Skin().GetFacePicture(names[dimmed ? 1 : 0][state_]);
  PaintToggle(canvas, *this,
              ToggleLook{13, box, caption_, text_colour_, IsFocused() ? HotColour : back_colour_, IsFocused()});
}
