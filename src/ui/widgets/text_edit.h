// TextEdit (layout kind 7): the toolkit's text field, drawn in the bold
// font inside a frame of the skin pictures ltedit, lbedit, rtedit and
// rbedit. The editing itself (caret, selection, keys, the 65535-byte limit)
// is TextEditModel's; this widget paints it, keeps the caret blinking where
// the model says, talks to the clipboard and shows "Text is too long".
//
// A field at least two lines high takes several lines (Shift+Enter breaks
// a line); a lower one keeps to one. A read-only field still selects and
// copies. A right margin leaves the field's right end to a neighbouring
// control (a "Search" button drawn over it).
#pragma once

#include "ui/widgets/behaviour/text_edit_model.h"
#include "ui/widgets/widget.h"

class TextEdit : public Widget {
 public:
  TextEdit(const LayoutEntry& entry, Container* parent, int right_margin = 0);
  ~TextEdit() override;

  const TextEditModel& Model() const { return model_; }
  bool ReadOnly() const { return model_.ReadOnly(); }
  // Editable or read-only; the field stays enabled and never greys.
  void SetEditable(bool editable);
  void Enable(bool enabled) override { SetEditable(enabled); }

  const char* GetText() const override { return model_.Text(); }
  // Null counts as empty; a text too long for the field is refused with
  // "Text is too long" and the old text stays.
  void SetText(const char* text) override;
  // Named by the label beside it; its text is its value.
  void Describe(int part, AccessibleItem& item) const override;
  void Paint(Canvas& canvas) override;
  void KeyChar(unsigned char character) override;
  void KeyCommand(unsigned key) override;
  void LeftDown(int x, int y) override;
  void MouseMove(int x, int y) override;
  // Copy (1735), select all (1745) and deselect (1750) from a context menu.
  void Notify(unsigned code, std::uint16_t id) override;
  int BottomRepaintExtent(int) const override { return 3; }
  int RightRepaintExtent(int) const override { return right_margin_ + 3; }
  // Takes the focus with the whole text selected.
  void RequestFocus() override;
  void GainFocus() override;
  void LoseFocus() override;
  void ResizeBy(int dw, int dh, bool downward, bool rightward) override;

 private:
  bool IsFocused() const;
  // The caret into view, the caret mark to its place, a repaint if needed.
  void Refresh();
  void Handle(TextEditModel::Result result, unsigned key);
  void Copy();
  void Paste();
  Rect TextArea() const;
  Rect CaretPlace() const;
  void PaintText(Canvas& canvas, const Rect& area);

  int right_margin_;
  TextEditModel model_;
};
