// What a text edit field does, apart from drawing it: the text, the caret
// and its pixel position, the selection, the keys, the pointer and the
// scroll offsets that keep the caret in view. The widget (TextEdit) paints
// from this state and talks to the clipboard; everything here runs and is
// tested without a window, in the manner of stb_textedit.
//
// Positions are byte offsets into the text. Lines are separated by CR LF;
// the caret never stands between the two bytes. The caret's pixel position
// is in text coordinates: x from the start of its line, y = line × line
// height. The selection runs between an anchor and an end that follows the
// caret; anchor = end selects nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/font_metrics.h"
#include "ui/core/key_translation.h"
#include "ui/widgets/behaviour/edit_buffer.h"

class TextEditModel {
 public:
  // What a key or an edit asks of the widget beyond a repaint.
  enum class Result : std::uint8_t {
    kHandled,
    kPassOn,   // the key belongs to the parent (Enter in a dialog, Tab...)
    kCopy,     // put SelectedText() on the clipboard
    kCut,      // the same, then DeleteSelection()
    kPaste,    // insert the clipboard's text with Paste()
    kTooLong,  // refused: "Text is too long"
  };

  // `metrics` must outlive the model; it gives character widths and the
  // line height.
  TextEditModel(const FontMetrics& metrics, bool single_line);

  const char* Text() const { return buffer_.Text(); }
  std::size_t Length() const { return buffer_.Length(); }
  std::size_t Capacity() const { return buffer_.Capacity(); }
  bool SingleLine() const { return single_line_; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  int LineHeight() const { return metrics_.line_height; }

  // Replaces the text (null: empty), clears the selection, puts the caret
  // and the scroll offsets at 0. False, the text unchanged, when it cannot
  // be held.
  bool SetText(const char* text);

  std::size_t Caret() const { return caret_; }
  int CaretX() const { return caret_x_; }
  int CaretY() const { return caret_y_; }

  bool HasSelection() const { return anchor_ >= 0 && anchor_ != end_; }
  // The selection's ordered bounds; both the caret when nothing is selected.
  std::size_t SelectionStart() const;
  std::size_t SelectionEnd() const;
  std::string_view SelectedText() const;
  // Selects the whole text, the caret at its end.
  void SelectAll();
  void Deselect();
  void DeleteSelection();

  // A typed character; control characters are not text and are dropped.
  Result TypeChar(unsigned char character);
  // Inserts the clipboard's text in place of the selection: up to its NUL
  // within `block_size` bytes and, in a single-line field, up to its first
  // line break.
  Result Paste(const char* text, std::size_t block_size);
  // A special key (ui/core/key_translation.h) with the keyboard state.
  Result Key(unsigned key, KeyboardFlags flags);

  // A press at (x, y) relative to the field's top-left corner: the caret
  // goes there; with Shift the selection extends to it, else it collapses.
  void PointerDown(int x, int y, bool shift);
  // The held pointer moved: the selection extends to it.
  void PointerDrag(int x, int y);

  int ScrollX() const { return scroll_x_; }
  int ScrollY() const { return scroll_y_; }
  // Scrolls so that the caret lies inside a field of `width` × `height`
  // whose last `right_margin` pixels belong to a neighbouring control.
  void KeepCaretVisible(int width, int height, int right_margin);

  // True once after anything visible changed: text, selection, scrolling.
  bool TakeDirty();

 private:
  char At(std::size_t position) const { return buffer_.At(position); }
  // Bytes of the line break at `position` (CR, or CR LF), 0 for none.
  std::size_t BreakAt(std::size_t position) const;
  // Bytes of the line break that ends just before `position`, 0 for none.
  std::size_t BreakBefore(std::size_t position) const;
  std::size_t LineStart(std::size_t position) const;
  std::size_t LineEnd(std::size_t position) const;
  int Width(std::size_t from, std::size_t to) const;

  void StepRight();
  void StepLeft();
  void WordLeft();
  void WordRight();
  bool AtWordStart() const;
  // Puts the caret at `position` and measures its pixel position afresh.
  void PlaceCaret(std::size_t position);
  // The caret to the text position nearest before or at (x, y).
  void MoveToPoint(int x, int y);
  void Navigate(unsigned key, KeyboardFlags flags);
  Result Replace(const char* text, std::size_t length);
  Result Backspace();
  Result DeleteForward();

  const FontMetrics& metrics_;
  EditBuffer buffer_;
  bool single_line_;
  bool read_only_ = false;
  bool dirty_ = false;
  std::size_t caret_ = 0;
  int caret_x_ = 0;
  int caret_y_ = 0;
  // Byte positions; -1 for no selection.
  std::ptrdiff_t anchor_ = -1;
  std::ptrdiff_t end_ = -1;
  int scroll_x_ = 0;
  int scroll_y_ = 0;
};
