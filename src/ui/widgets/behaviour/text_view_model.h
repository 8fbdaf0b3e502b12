// What a read-only text view does, apart from drawing it: its lines, the
// caret, the selection made with Shift and the keys or with the mouse, the
// text a copy takes, which rows a paint must draw, and where to scroll so
// that the caret shows. The TextView and LogView widgets paint from this
// state; everything here runs and is tested without a window.
//
// Selection states, with the caret moved by a key or the pointer:
//
//   state            Shift held, caret moves       Shift not held
//   none             anchored at the old caret     none
//   anchored         caret before the anchor: at   none
//                    start; else at end
//   caret at start   start follows; past the end:  none
//                    swap, caret at end
//   caret at end     end follows; before the       none
//                    start: swap, caret at start
//
// The view's geometry: the text area is the view less kMargin pixels on
// each side; line i lies at content y = (i - 1) × line height; a column's x
// is the width of the line's text before it.
#pragma once

#include <cstdint>
#include <string>

#include "ui/core/key_translation.h"
#include "ui/widgets/behaviour/line_store.h"

// A caret place: a line (from 1) and a byte column in it (from 0).
struct TextPosition {
  int line = 1;
  int column = 0;

  bool operator==(const TextPosition& other) const { return line == other.line && column == other.column; }
  bool operator<(const TextPosition& other) const {
    return line < other.line || (line == other.line && column < other.column);
  }
};

struct ScrollOffset {
  int x = 0;
  int y = 0;

  bool operator==(const ScrollOffset& other) const { return x == other.x && y == other.y; }
};

class TextViewModel {
 public:
  enum class Selection : std::uint8_t { kNone, kAnchored, kCaretAtStart, kCaretAtEnd };
  enum class Result : std::uint8_t {
    kHandled,
    kPassOn,  // the key belongs to the widget base
    kCopy,    // put CopyText() on the clipboard
  };

  // Starts with one empty line and the caret at its start.
  explicit TextViewModel(const FontMetrics& metrics);

  LineStore& Lines() { return lines_; }
  const LineStore& Lines() const { return lines_; }

  // The size of the view (the scroll bars' room excluded), for paging and
  // scrolling to the caret.
  void SetViewSize(int width, int height);

  // Adds a line at the end; the caret goes to its start.
  void AppendLine(std::string_view text);
  // Drops the oldest lines once the view holds 2 × limit lines; the caret
  // and the selection keep to their lines, or what is left of them.
  void Trim(int limit);
  // One empty line, no selection, the caret at its start.
  void Clear();

  TextPosition Caret() const { return caret_; }
  Selection State() const { return state_; }
  // The selected range, start before end; false when nothing is selected.
  bool SelectedRange(TextPosition& start, TextPosition& end) const;
  // The columns of `line` that are selected, [from, to); false for none.
  bool SelectedColumns(int line, int& from, int& to) const;
  // The selected text with CR LF between lines; empty without a selection.
  std::string CopyText() const;
  void SelectAll();
  void Deselect();

  // A special key (ui/core/key_translation.h) with the keyboard state.
  Result Key(unsigned key, KeyboardFlags flags);
  // Pointer places in content coordinates (the scroll offsets added, the
  // text area's corner taken away).
  void PointerDown(int x, int y, bool shift);
  void PointerDrag(int x, int y);
  void DoubleClick(int x, int y);

  // Lines whose look changed since the last call (selection and caret).
  LineRange TakeRepaint();

  // The scroll offsets that bring the caret into view from `current`, kept
  // within the content.
  ScrollOffset ScrollToCaret(ScrollOffset current) const;
  // The lines whose rows cross the band [from_y, to_y) of a text area whose
  // top lies at `top`, scrolled down by `scroll_y`.
  LineRange RowsIn(int scroll_y, int top, int from_y, int to_y) const;
  // The column of `line` whose x comes nearest to `x`.
  int NearestColumn(int line, int x) const;
  int ColumnX(int line, int column) const;

 private:
  unsigned char ByteAt(int line, int column) const;
  bool IsWordStart(int line, int column) const;
  void BeginMove(bool shift);
  void EndMove(int old_line);
  void MoveCaret(unsigned key, bool control);
  void WordLeft();
  void WordRight();
  void VerticalMove(int lines);
  TextPosition PointAt(int x, int y) const;
  TextPosition Clamped(TextPosition position) const;
  int LastColumn(int line) const { return lines_.Length(line); }

  LineStore lines_;
  TextPosition caret_;
  TextPosition start_;  // the anchor while anchored
  TextPosition end_;
  Selection state_ = Selection::kNone;
  LineRange repaint_;
  int view_width_ = 0;
  int view_height_ = 0;
};
