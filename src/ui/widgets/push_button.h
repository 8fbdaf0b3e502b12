// PushButton (layout kind 5): a raised skinned button with a centred
// caption. Its frame is drawn from the skin's corner pictures and grey edge
// lines that swap light and dark while it is pressed; the face turns the
// hot colour and shows a dotted focus rectangle while it has the focus. A
// click, Space or Enter tells the parent, Notify(id, 0); Escape goes to the
// parent as a key, so a dialog can treat it as its cancel command. Check
// boxes and radio buttons pass Enter on as a key too (the dialog's default).
//
// The press protocol (behaviour/button_press.h) is shared with the image
// button, the check box and the radio button, which derive from this class
// and change the content and the action.
#pragma once

#include "graphics/rect.h"
#include "ui/widgets/behaviour/button_press.h"
#include "ui/widgets/widget.h"

class PushButton : public Widget {
 public:
  PushButton(const LayoutEntry& entry, Container* parent);

  bool Pressed() const { return press_.Pressed(); }

  const char* GetText() const override { return caption_; }
  // Keeps the pointer it is given (no copy): captions are static texts.
  void SetText(const char* text) override;
  void Paint(Canvas& canvas) override;
  void KeyCommand(unsigned key) override;
  void KeyUp(unsigned key) override;
  void LeftDown(int x, int y) override;
  void LeftUp(int x, int y) override;
  void MouseMove(int x, int y) override;
  void LoseFocus() override;
  void GainFocus() override;
  // The caption is centred: a change of width moves all of it.
  int RightRepaintExtent(int width) const override { return width; }
  void Describe(int part, AccessibleItem& item) const override;
  void DoDefaultAction(int) override { Action(); }

 protected:
  // Paints what lies inside the frame, `inner` on the window.
  virtual void PaintContent(Canvas& canvas, const Rect& inner);
  // What a click does.
  virtual void Action();
  // Repaints and acts as the step says.
  void Apply(ButtonPress::Step step);
  bool IsFocused() const;

  ButtonPress press_;
  const char* caption_;
};
