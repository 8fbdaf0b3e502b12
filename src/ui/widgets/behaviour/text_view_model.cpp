#include "ui/widgets/behaviour/text_view_model.h"

#include <algorithm>

#include "ui/core/key_codes.h"
#include "ui/widgets/behaviour/word_separators.h"

TextViewModel::TextViewModel(const FontMetrics& metrics) : lines_(metrics) { lines_.Clear(); }

void TextViewModel::SetViewSize(int width, int height) {
  view_width_ = width;
  view_height_ = height;
}

void TextViewModel::AppendLine(std::string_view text) {
  lines_.Append(text);
  caret_ = TextPosition{lines_.Count(), 0};
}

void TextViewModel::Trim(int limit) {
  int dropped = lines_.Trim(limit);
  if (dropped == 0) return;
  auto shift = [dropped](TextPosition& position) {
    position.line -= dropped;
    if (position.line < 1) position = TextPosition{1, 0};
  };
  bool selection_gone = end_.line - dropped < 1;
  shift(caret_);
  shift(start_);
  shift(end_);
  if (selection_gone && state_ != Selection::kAnchored) state_ = Selection::kNone;
}

void TextViewModel::Clear() {
  lines_.Clear();
  state_ = Selection::kNone;
  caret_ = TextPosition{};
}

// --- Selection -------------------------------------------------------------------

bool TextViewModel::SelectedRange(TextPosition& start, TextPosition& end) const {
  if (state_ != Selection::kCaretAtStart && state_ != Selection::kCaretAtEnd) return false;
  start = Clamped(start_);
  end = Clamped(end_);
  return start < end;
}

bool TextViewModel::SelectedColumns(int line, int& from, int& to) const {
  TextPosition start, end;
  if (!SelectedRange(start, end) || line < start.line || line > end.line) return false;
  from = line == start.line ? start.column : 0;
  to = line == end.line ? end.column : LastColumn(line);
  return from < to;
}

std::string TextViewModel::CopyText() const {
  TextPosition start, end;
  if (!SelectedRange(start, end)) return std::string();
  std::string text;
  for (int line = start.line; line <= end.line; ++line) {
    std::string_view whole = lines_.Text(line);
    std::size_t from = line == start.line ? static_cast<std::size_t>(start.column) : 0;
    std::size_t to = line == end.line ? static_cast<std::size_t>(end.column) : whole.size();
    text.append(whole.substr(from, to - from));
    if (line != end.line) text.append("\r\n");
  }
  return text;
}

void TextViewModel::SelectAll() {
  int last = lines_.Count();
  start_ = TextPosition{1, 0};
  end_ = TextPosition{last, LastColumn(last)};
  caret_ = end_;
  state_ = Selection::kCaretAtEnd;
  repaint_.Add(1, last);
}

void TextViewModel::Deselect() {
  if (state_ == Selection::kCaretAtStart || state_ == Selection::kCaretAtEnd) {
    repaint_.Add(std::max(1, start_.line), std::min(lines_.Count(), end_.line));
  }
  state_ = Selection::kNone;
}

void TextViewModel::BeginMove(bool shift) {
  if (!shift) {
    Deselect();
  } else if (state_ == Selection::kNone) {
    start_ = caret_;
    state_ = Selection::kAnchored;
  }
}

void TextViewModel::EndMove(int old_line) {
  switch (state_) {
    case Selection::kAnchored:
      if (caret_ < start_) {
        end_ = start_;
        start_ = caret_;
        state_ = Selection::kCaretAtStart;
      } else {
        end_ = caret_;
        state_ = Selection::kCaretAtEnd;
      }
      repaint_.Add(start_.line, end_.line);
      return;
    case Selection::kCaretAtStart:
      start_ = caret_;
      if (end_ < start_) {
        std::swap(start_, end_);
        state_ = Selection::kCaretAtEnd;
      }
      break;
    case Selection::kCaretAtEnd:
      end_ = caret_;
      if (end_ < start_) {
        std::swap(start_, end_);
        state_ = Selection::kCaretAtStart;
      }
      break;
    case Selection::kNone: break;
  }
  repaint_.Add(std::min(old_line, caret_.line), std::max(old_line, caret_.line));
}

// --- Caret movement -----------------------------------------------------------------

unsigned char TextViewModel::ByteAt(int line, int column) const {
  std::string_view text = lines_.Text(line);
  return column >= 0 && static_cast<std::size_t>(column) < text.size() ? static_cast<unsigned char>(text[column]) : 0;
}

bool TextViewModel::IsWordStart(int line, int column) const {
  bool after_separator = column == 0 || IsWordSeparator(ByteAt(line, column - 1));
  return after_separator && !IsWordSeparator(ByteAt(line, column));
}

void TextViewModel::WordLeft() {
  if (caret_.column == 0) {
    if (caret_.line > 1) caret_ = TextPosition{caret_.line - 1, LastColumn(caret_.line - 1)};
    return;
  }
  do --caret_.column;
  while (caret_.column > 0 && !IsWordStart(caret_.line, caret_.column));
  // A line that starts with a word stops the step there; one that starts
  // with blanks sends it on to the end of the line before.
  if (caret_.column == 0 && !IsWordStart(caret_.line, 0) && caret_.line > 1) {
    caret_ = TextPosition{caret_.line - 1, LastColumn(caret_.line - 1)};
  }
}

void TextViewModel::WordRight() {
  if (caret_.column >= LastColumn(caret_.line)) {
    if (caret_.line >= lines_.Count()) return;
    caret_ = TextPosition{caret_.line + 1, 0};
    if (IsWordStart(caret_.line, 0) || LastColumn(caret_.line) == 0) return;
  }
  do ++caret_.column;
  while (caret_.column < LastColumn(caret_.line) && !IsWordStart(caret_.line, caret_.column));
}

void TextViewModel::VerticalMove(int lines) {
  int x = ColumnX(caret_.line, caret_.column);
  int line = std::clamp(caret_.line + lines, 1, lines_.Count());
  caret_ = TextPosition{line, NearestColumn(line, x)};
}

void TextViewModel::MoveCaret(unsigned key, bool control) {
  int last = lines_.Count();
  int page = std::max(1, (view_height_ - 2 * LineStore::kMargin) / lines_.LineHeight());
  switch (key) {
    case key::kPageUp: VerticalMove(-page); break;
    case key::kPageDown: VerticalMove(page); break;
    case key::kEnd:
      caret_ = control ? TextPosition{last, LastColumn(last)} : TextPosition{caret_.line, LastColumn(caret_.line)};
      break;
    case key::kHome: caret_ = TextPosition{control ? 1 : caret_.line, 0}; break;
    case key::kLeft:
      if (control)
        WordLeft();
      else if (caret_.column > 0)
        --caret_.column;
      else if (caret_.line > 1)
        caret_ = TextPosition{caret_.line - 1, LastColumn(caret_.line - 1)};
      break;
    case key::kRight:
      if (control)
        WordRight();
      else if (caret_.column < LastColumn(caret_.line))
        ++caret_.column;
      else if (caret_.line < last)
        caret_ = TextPosition{caret_.line + 1, 0};
      break;
    case key::kUp: VerticalMove(-1); break;
    case key::kDown: VerticalMove(1); break;
    default: break;
  }
}

TextViewModel::Result TextViewModel::Key(unsigned key, KeyboardFlags flags) {
  switch (key) {
    case key::kPageUp:
    case key::kPageDown:
    case key::kEnd:
    case key::kHome:
    case key::kLeft:
    case key::kRight:
    case key::kUp:
    case key::kDown: {
      int old_line = caret_.line;
      BeginMove(flags.shift);
      MoveCaret(key, flags.control);
      EndMove(old_line);
      return Result::kHandled;
    }
    case 'A':
      if (!flags.control) return Result::kPassOn;
      SelectAll();
      return Result::kHandled;
    case 'C': return flags.control ? Result::kCopy : Result::kPassOn;
    default: return Result::kPassOn;
  }
}

// --- Pointer --------------------------------------------------------------------------

TextPosition TextViewModel::PointAt(int x, int y) const {
  int line = std::clamp(y / lines_.LineHeight() + 1, 1, lines_.Count());
  return TextPosition{line, NearestColumn(line, x)};
}

void TextViewModel::PointerDown(int x, int y, bool shift) {
  int old_line = caret_.line;
  BeginMove(shift);
  caret_ = PointAt(x, y);
  EndMove(old_line);
}

void TextViewModel::PointerDrag(int x, int y) {
  int old_line = caret_.line;
  if (state_ == Selection::kNone) {
    start_ = caret_;
    state_ = Selection::kAnchored;
  }
  caret_ = PointAt(x, y);
  EndMove(old_line);
}

void TextViewModel::DoubleClick(int x, int y) {
  Deselect();
  caret_ = PointAt(x, y);
  int line = caret_.line;
  if (IsWordSeparator(ByteAt(line, caret_.column))) return;
  int from = caret_.column;
  int to = caret_.column;
  while (from > 0 && !IsWordSeparator(ByteAt(line, from - 1))) --from;
  while (to < LastColumn(line) && !IsWordSeparator(ByteAt(line, to))) ++to;
  start_ = TextPosition{line, from};
  end_ = TextPosition{line, to};
  caret_ = end_;
  state_ = Selection::kCaretAtEnd;
  repaint_.Add(line, line);
}

LineRange TextViewModel::TakeRepaint() {
  LineRange range = repaint_;
  repaint_ = LineRange{};
  range.first = std::max(range.first, 1);
  range.last = std::min(range.last, lines_.Count());
  return range;
}

// --- Geometry ---------------------------------------------------------------------------

int TextViewModel::ColumnX(int line, int column) const {
  std::string_view text = lines_.Text(line);
  std::size_t length = std::min(text.size(), static_cast<std::size_t>(std::max(column, 0)));
  return TextWidth(lines_.Metrics(), text.data(), length);
}

int TextViewModel::NearestColumn(int line, int x) const {
  std::string_view text = lines_.Text(line);
  int left = 0;
  for (std::size_t column = 0; column < text.size(); ++column) {
    int right = left + lines_.Metrics().widths[static_cast<unsigned char>(text[column])];
    if (x - left <= right - x) return static_cast<int>(column);
    left = right;
  }
  return static_cast<int>(text.size());
}

TextPosition TextViewModel::Clamped(TextPosition position) const {
  position.line = std::clamp(position.line, 1, lines_.Count());
  position.column = std::clamp(position.column, 0, LastColumn(position.line));
  return position;
}

ScrollOffset TextViewModel::ScrollToCaret(ScrollOffset current) const {
  // The caret keeps 6 pixels (the two margins) from the far edges; a caret
  // in the first 8 pixels pulls a third of the view back into sight.
  constexpr int kSlack = 2 * LineStore::kMargin;
  constexpr int kLeftSlack = 8;
  int height = lines_.LineHeight();
  ScrollOffset target = current;
  // Sideways the rule measures the text, inside the margins: measured on the
  // view it would leave the caret beyond the text's right edge.
  int text_width = view_width_ - 2 * LineStore::kMargin;
  int caret_x = ColumnX(caret_.line, caret_.column);
  if (caret_x < current.x) {
    target.x = caret_x;
  } else if (caret_x < current.x + kLeftSlack) {
    target.x = current.x - text_width / 3;
  } else if (caret_x > current.x + text_width - kSlack) {
    target.x = caret_x + kSlack - text_width;
  }
  int caret_y = (caret_.line - 1) * height;
  if (caret_y < current.y) {
    target.y = caret_y;
  } else {
    target.y = std::max(current.y, caret_y + height - view_height_ + kSlack);
  }
  target.x = std::clamp(target.x, 0, std::max(0, lines_.ContentWidth() - view_width_));
  target.y = std::clamp(target.y, 0, std::max(0, lines_.ContentHeight() - view_height_));
  return target;
}

LineRange TextViewModel::RowsIn(int scroll_y, int top, int from_y, int to_y) const {
  int height = lines_.LineHeight();
  from_y = std::max(from_y, top);
  if (to_y <= from_y || height <= 0) return LineRange{};
  int first = (from_y - top + scroll_y) / height + 1;
  int last = (to_y - 1 - top + scroll_y) / height + 1;
  return LineRange{std::max(first, 1), std::min(last, lines_.Count())};
}
