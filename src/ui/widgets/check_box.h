// CheckBox (layout kind 6): a box picture and a caption. A click or Space
// cycles unchecked and checked (a box in its third state goes back to
// unchecked) and tells the parent the new state, Notify(id, state). A
// three-state box takes its third state from a right click on an unchecked
// box; a right click on any other state clears it, without telling anyone.
// It is 15 pixels high whatever its layout entry says.
#pragma once

#include <string>

#include "graphics/colours.h"
#include "ui/widgets/push_button.h"

class CheckBox : public PushButton {
 public:
  static constexpr int kHeight = 15;
  enum State : int { kUnchecked = 0, kChecked = 1, kThirdState = 2 };

  CheckBox(const LayoutEntry& entry, Container* parent);

  // Keeps a copy of the text.
  void SetText(const char* text) override;
  int GetValue() const override { return state_; }
  // Sets the state (0, 1 or 2) without telling the parent.
  void SetChecked(int state) override;
  void SetColours(GdiColour text, GdiColour back);
  void SetThreeState(bool three_state) { three_state_ = three_state; }
  void Describe(int part, AccessibleItem& item) const override;
  void Paint(Canvas& canvas) override;
  void RightDown(int x, int y) override;
  void RightUp(int x, int y) override;

 protected:
  void Action() override;

 private:
  std::string own_caption_;
  GdiColour text_colour_ = BlackColour;
  GdiColour back_colour_ = FaceColour;
  int state_ = kUnchecked;
  bool three_state_ = false;
};
