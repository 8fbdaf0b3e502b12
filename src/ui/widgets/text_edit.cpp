#include "ui/widgets/text_edit.h"

#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "log/logger.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/clipboard.h"
#include "ui/widgets/container.h"
#include "ui/widgets/text_caret.h"
#include "ui/widgets/widget_state.h"

namespace {

// The frame pictures are 3 by 3; the text keeps 2 pixels from the top and
// bottom edges.
constexpr int kFrame = 3;
constexpr int kTextTop = 2;

// Context-menu commands the field answers itself.
constexpr unsigned kCopyCommand = 1735;
constexpr unsigned kSelectAllCommand = 1745;
constexpr unsigned kDeselectCommand = 1750;

bool FitsOneLine(int height, int line_height) { return line_height <= 0 || (height - 5) / line_height < 2; }

}  // namespace

TextEdit::TextEdit(const LayoutEntry& entry, Container* parent, int right_margin)
    : Widget(entry, parent),
      right_margin_(right_margin),
      model_(Graphics().BoldFont().Metrics(), FitsOneLine(entry.height, Graphics().BoldFont().LineHeight())) {
  enabled_ = true;
  focusable_ = true;
  role_ = AccessibleRole::kEditableText;
  if (entry.text != nullptr) model_.SetText(entry.text);
}

void TextEdit::Describe(int, AccessibleItem& item) const {
  item.value = model_.Text();
  if (model_.ReadOnly()) item.states |= kAccessibleReadOnly;
}

TextEdit::~TextEdit() { HideTextCaret(*this); }

bool TextEdit::IsFocused() const { return FocusedWidget() == this; }

void TextEdit::SetEditable(bool editable) {
  if (editable == !model_.ReadOnly() && enabled_) return;
  SetEnabled(true);
  model_.SetReadOnly(!editable);
  InvalidateSelf();
}

void TextEdit::SetText(const char* text) {
  if (!model_.SetText(text)) {
    CurrentLogger().ShowMessage("Text is too long");
    return;
  }
  Refresh();
  RaiseAccessibleEvent(AccessibleEvent::kValueChange);
}

Rect TextEdit::TextArea() const {
  int right = x_ + width_ - (right_margin_ == 0 ? kFrame : right_margin_);
  return Rect{x_ + kFrame, y_ + kTextTop, right, y_ + height_ - kTextTop};
}

Rect TextEdit::CaretPlace() const {
  int left = x_ + model_.CaretX() - model_.ScrollX() + kFrame;
  int top = y_ + model_.CaretY() - model_.ScrollY() + kTextTop;
  // Kept within the field, not the text area: the scroll rule leaves the
  // caret at the text's right edge, just outside it.
  return Intersect(Rect{left, top, left + 1, top + model_.LineHeight()}, Rect{x_, y_, x_ + width_, y_ + height_});
}

void TextEdit::Refresh() {
  model_.KeepCaretVisible(width_, height_, right_margin_);
  if (model_.TakeDirty()) InvalidateSelf();
  if (IsFocused()) ShowTextCaret(*this, CaretPlace());
}

void TextEdit::Handle(TextEditModel::Result result, unsigned key) {
  std::size_t length = model_.Length();
  switch (result) {
    case TextEditModel::Result::kPassOn: Widget::KeyCommand(key); return;
    case TextEditModel::Result::kCopy: Copy(); break;
    case TextEditModel::Result::kCut:
      Copy();
      model_.DeleteSelection();
      break;
    case TextEditModel::Result::kPaste: Paste(); break;
    case TextEditModel::Result::kTooLong: CurrentLogger().ShowMessage("Text is too long"); break;
    case TextEditModel::Result::kHandled: break;
  }
  Refresh();
  if (model_.Length() != length) RaiseAccessibleEvent(AccessibleEvent::kValueChange);
}

void TextEdit::Copy() {
  if (model_.HasSelection()) CopyTextToClipboard(*this, model_.SelectedText());
}

void TextEdit::Paste() {
  ClipboardText clip;
  if (!ReadClipboardText(*this, clip)) return;
  if (model_.Paste(clip.bytes.c_str(), clip.block_size) == TextEditModel::Result::kTooLong) {
    CurrentLogger().ShowMessage("Text is too long");
  }
}

void TextEdit::KeyChar(unsigned char character) { Handle(model_.TypeChar(character), 0); }

void TextEdit::KeyCommand(unsigned key) { Handle(model_.Key(key, Keyboard()), key); }

void TextEdit::LeftDown(int x, int y) {
  WidgetHost* host = Host();
  if (host != nullptr) host->SetCursor(CursorShape::kTextBeam);
  model_.PointerDown(x - x_, y - y_, Keyboard().shift);
  Refresh();
}

void TextEdit::MouseMove(int x, int y) {
  WidgetHost* host = Host();
  if (host == nullptr || host->PressedWidget() != this) {
    Widget::MouseMove(x, y);
    return;
  }
  host->SetCursor(CursorShape::kTextBeam);
  model_.PointerDrag(x - x_, y - y_);
  Refresh();
}

void TextEdit::Notify(unsigned code, std::uint16_t id) {
  switch (code) {
    case kCopyCommand: Copy(); return;
    case kSelectAllCommand:
      model_.SelectAll();
      Refresh();
      return;
    case kDeselectCommand:
      model_.Deselect();
      Refresh();
      return;
    default: Widget::Notify(code, id);
  }
}

void TextEdit::RequestFocus() {
  model_.SelectAll();
  if (CanTakeFocus()) SetFocusedWidget(this);
  Refresh();
}

void TextEdit::GainFocus() {
  ShowTextCaret(*this, CaretPlace());
  if (model_.HasSelection()) InvalidateSelf();
}

void TextEdit::LoseFocus() {
  HideTextCaret(*this);
  if (model_.HasSelection()) InvalidateSelf();
}

void TextEdit::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  Widget::ResizeBy(dw, dh, downward, rightward);
  Refresh();
}

// --- Painting ---------------------------------------------------------------------

void TextEdit::Paint(Canvas& canvas) {
  int bottom = y_ + height_;
  Rect area = TextArea();
  canvas.SetBackColour(WhiteColour);
  DrawImage(canvas, x_, y_, Skin().GetFacePicture("ltedit"));
  DrawImage(canvas, x_, bottom - kFrame, Skin().GetFacePicture("lbedit"));
  canvas.FillRect(x_, y_ + kFrame, x_ + kFrame, bottom - kFrame);
  if (right_margin_ == 0) {
    int right = x_ + width_ - kFrame;
    DrawImage(canvas, right, y_, Skin().GetFacePicture("rtedit"));
    DrawImage(canvas, right, bottom - kFrame, Skin().GetFacePicture("rbedit"));
    canvas.FillRect(right, y_ + kFrame, right + kFrame, bottom - kFrame);
  }
  canvas.FillRect(x_ + kFrame, y_, area.right, area.top);
  canvas.FillRect(x_ + kFrame, area.bottom, area.right, bottom);

  Rect saved = canvas.Clip();
  canvas.SetClip(Intersect(saved, area));
  PaintText(canvas, area);
  canvas.SetClip(saved);
  Rect caret;
  if (TextCaretShows(*this, caret)) {
    canvas.SetBackColour(BlackColour);
    canvas.FillRect(caret.left, caret.top, caret.right, caret.bottom);
  }
}

void TextEdit::PaintText(Canvas& canvas, const Rect& area) {
  const FontRecord& font = Graphics().BoldFont();
  canvas.SelectFont(font);
  int line_height = font.LineHeight();
  bool editable = !model_.ReadOnly();
  // Normal and selected colours of a run, by the field's state.
  GdiColour normal_back = !enabled_ ? FaceColour : editable ? WhiteColour : EditTintColour;
  auto set_colours = [&](bool selected) {
    if (selected && enabled_)
      canvas.SetColours(WhiteColour, SelectionColour);
    else
      canvas.SetColours(BlackColour, normal_back);
  };

  const char* text = model_.Text();
  std::size_t length = model_.Length();
  // The selection shows only while the field has the focus.
  bool show_selection = IsFocused() && model_.HasSelection();
  std::size_t sel_start = show_selection ? model_.SelectionStart() : length + 1;
  std::size_t sel_end = show_selection ? model_.SelectionEnd() : length + 1;
  int line_left = x_ - model_.ScrollX() + kFrame;
  int top = y_ - model_.ScrollY() + kTextTop;
  int run_x = line_left;
  std::size_t run_start = 0;
  bool selected = false;
  set_colours(false);

  auto draw_run = [&](std::size_t end, bool extend) {
    int width = TextWidth(font, text + run_start, end - run_start);
    int right = extend ? area.right : run_x + width;
    if (top + line_height > area.top && top < area.bottom) {
      Rect box{std::max(run_x, area.left), top, right, top + line_height};
      canvas.TextOutRect(run_x, top, box, text + run_start, end - run_start);
    }
    run_x += width;
    run_start = end;
  };

  for (std::size_t i = 0;; ++i) {
    if (i == sel_start || i == sel_end) {
      draw_run(i, false);
      selected = i == sel_start && i != sel_end;
      set_colours(selected);
    }
    if (i >= length) {
      draw_run(length, true);
      break;
    }
    if (text[i] == '\r') {
      draw_run(i, true);
      top += line_height;
      i += i + 1 < length && text[i + 1] == '\n' ? 1 : 0;
      run_start = i + 1;
      run_x = line_left;
    }
  }
  if (top + line_height < area.bottom) {
    set_colours(false);
    canvas.FillRect(area.left, top + line_height, area.right, area.bottom);
  }
}
