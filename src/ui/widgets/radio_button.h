// RadioButton (layout kind 4): a circle picture and a caption, one of a
// group: the run of radio buttons between other controls among its
// parent's children (radio_group.h). A click or Space on an
// unchecked button checks it, clears the rest of its group and tells the
// parent, Notify(id, 0); a checked button does nothing. It is 13 pixels
// high whatever its layout entry says.
#pragma once

#include "ui/widgets/push_button.h"

class RadioButton : public PushButton {
 public:
  static constexpr int kHeight = 13;

  RadioButton(const LayoutEntry& entry, Container* parent);

  int GetValue() const override { return checked_ ? 1 : 0; }
  // Checking clears the rest of the group.
  void SetChecked(int state) override;
  void Describe(int part, AccessibleItem& item) const override;
  void Paint(Canvas& canvas) override;

 protected:
  void Action() override;

 private:
  bool checked_ = false;
};
