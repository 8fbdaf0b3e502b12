#include "ui/widgets/behaviour/text_edit_model.h"

#include <algorithm>
#include <cstring>

#include "ui/core/key_codes.h"
#include "ui/widgets/behaviour/word_separators.h"

namespace {

// Where a press lands relative to the text: the text starts 3 pixels right
// of and 2 below the field's corner, and a press counts a few pixels to the
// left so that it takes the nearer side of the character under it.
constexpr int kPointerShiftX = 7;
constexpr int kPointerShiftY = 3;
// The caret keeps this far from the right edge, and a caret in the first
// pixels of the view pulls a third of the view back into sight.
constexpr int kRightSlack = 6;
constexpr int kLeftSlack = 8;
constexpr int kBottomSlack = 4;

}  // namespace

TextEditModel::TextEditModel(const FontMetrics& metrics, bool single_line)
    : metrics_(metrics), single_line_(single_line) {}

bool TextEditModel::SetText(const char* text) {
  if (text == nullptr) text = "";
  if (!buffer_.Assign(text, std::strlen(text))) return false;
  anchor_ = end_ = -1;
  caret_ = 0;
  caret_x_ = caret_y_ = 0;
  scroll_x_ = scroll_y_ = 0;
  dirty_ = true;
  return true;
}

std::size_t TextEditModel::SelectionStart() const {
  if (!HasSelection()) return caret_;
  return static_cast<std::size_t>(std::min(anchor_, end_));
}

std::size_t TextEditModel::SelectionEnd() const {
  if (!HasSelection()) return caret_;
  return static_cast<std::size_t>(std::max(anchor_, end_));
}

std::string_view TextEditModel::SelectedText() const {
  return std::string_view(Text() + SelectionStart(), SelectionEnd() - SelectionStart());
}

void TextEditModel::SelectAll() {
  PlaceCaret(Length());
  anchor_ = 0;
  end_ = static_cast<std::ptrdiff_t>(caret_);
  dirty_ = true;
}

void TextEditModel::Deselect() {
  if (HasSelection()) dirty_ = true;
  anchor_ = end_ = -1;
}

void TextEditModel::DeleteSelection() {
  if (!HasSelection()) {
    Deselect();
    return;
  }
  std::size_t start = SelectionStart();
  std::size_t count = SelectionEnd() - start;
  PlaceCaret(start);
  buffer_.Replace(start, count, "", 0);
  Deselect();
  dirty_ = true;
}

// --- Lines and measuring ------------------------------------------------------

std::size_t TextEditModel::BreakAt(std::size_t position) const {
  if (position >= Length() || At(position) != '\r') return 0;
  return At(position + 1) == '\n' ? 2 : 1;
}

std::size_t TextEditModel::BreakBefore(std::size_t position) const {
  if (position == 0) return 0;
  char before = At(position - 1);
  if (before == '\r') return 1;
  if (before == '\n' && position >= 2 && At(position - 2) == '\r') return 2;
  return 0;
}

std::size_t TextEditModel::LineStart(std::size_t position) const {
  while (position > 0 && BreakBefore(position) == 0) --position;
  return position;
}

std::size_t TextEditModel::LineEnd(std::size_t position) const {
  while (position < Length() && At(position) != '\r') ++position;
  return position;
}

int TextEditModel::Width(std::size_t from, std::size_t to) const {
  return TextWidth(metrics_, Text() + from, to - from);
}

// --- Caret movement ------------------------------------------------------------

void TextEditModel::StepRight() {
  if (caret_ >= Length()) return;
  if (std::size_t line_break = BreakAt(caret_)) {
    caret_ += line_break;
    caret_x_ = 0;
    caret_y_ += metrics_.line_height;
  } else {
    caret_x_ += metrics_.widths[static_cast<unsigned char>(At(caret_))];
    ++caret_;
  }
}

void TextEditModel::StepLeft() {
  if (caret_ == 0) return;
  if (std::size_t line_break = BreakBefore(caret_)) {
    caret_ -= line_break;
    caret_y_ -= metrics_.line_height;
    caret_x_ = Width(LineStart(caret_), caret_);
  } else {
    --caret_;
    caret_x_ -= metrics_.widths[static_cast<unsigned char>(At(caret_))];
  }
}

bool TextEditModel::AtWordStart() const {
  return IsWordSeparator(static_cast<unsigned char>(At(caret_ - 1))) &&
         !IsWordSeparator(static_cast<unsigned char>(At(caret_)));
}

void TextEditModel::WordLeft() {
  do StepLeft();
  while (caret_ > 0 && !AtWordStart());
}

void TextEditModel::WordRight() {
  do StepRight();
  while (caret_ < Length() && !AtWordStart());
}

void TextEditModel::PlaceCaret(std::size_t position) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < position; ++i) {
    if (std::size_t line_break = BreakAt(i)) {
      ++lines;
      i += line_break - 1;
    }
  }
  caret_ = position;
  caret_y_ = static_cast<int>(lines) * metrics_.line_height;
  caret_x_ = Width(LineStart(position), position);
}

void TextEditModel::MoveToPoint(int x, int y) {
  PlaceCaret(0);
  if (y < 0) return;
  if (!single_line_) {
    while (caret_y_ <= y - metrics_.line_height && caret_ < Length()) StepRight();
    while (caret_x_ < x && caret_ < Length() && At(caret_) != '\r') StepRight();
  } else {
    while (caret_x_ < x && caret_ < Length()) StepRight();
  }
}

void TextEditModel::Navigate(unsigned key, KeyboardFlags flags) {
  if (!flags.shift) {
    Deselect();
  } else if (anchor_ < 0) {
    anchor_ = end_ = static_cast<std::ptrdiff_t>(caret_);
  }
  switch (key) {
    case key::kHome: PlaceCaret(flags.control ? 0 : LineStart(caret_)); break;
    case key::kEnd: PlaceCaret(flags.control ? Length() : LineEnd(caret_)); break;
    case key::kLeft:
      if (flags.control)
        WordLeft();
      else
        StepLeft();
      break;
    case key::kRight:
      if (flags.control)
        WordRight();
      else
        StepRight();
      break;
    case key::kUp: MoveToPoint(caret_x_ - 2, caret_y_ - metrics_.line_height); break;
    case key::kDown: MoveToPoint(caret_x_, caret_y_ + metrics_.line_height); break;
    default: break;
  }
  if (anchor_ >= 0) {
    end_ = static_cast<std::ptrdiff_t>(caret_);
    dirty_ = true;
  }
}

// --- Editing -------------------------------------------------------------------------

TextEditModel::Result TextEditModel::Replace(const char* text, std::size_t length) {
  // The whole change is checked before the selection goes, so a refused
  // insertion loses nothing.
  std::size_t removed = SelectionEnd() - SelectionStart();
  if (!buffer_.Fits(Length() - removed + length)) return Result::kTooLong;
  DeleteSelection();
  buffer_.Replace(caret_, 0, text, length);
  std::size_t target = caret_ + length;
  while (caret_ < target) StepRight();
  dirty_ = true;
  return Result::kHandled;
}

TextEditModel::Result TextEditModel::TypeChar(unsigned char character) {
  if (read_only_ || character < ' ' || character == 0x7F) return Result::kHandled;
  char byte = static_cast<char>(character);
  return Replace(&byte, 1);
}

TextEditModel::Result TextEditModel::Paste(const char* text, std::size_t block_size) {
  if (read_only_) return Result::kHandled;
  const void* nul = std::memchr(text, '\0', block_size);
  std::size_t length = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : block_size;
  if (single_line_) {
    const void* line_break = std::memchr(text, '\r', length);
    if (line_break != nullptr) length = static_cast<std::size_t>(static_cast<const char*>(line_break) - text);
  }
  // The clipboard's block must fit with room to spare, as a typed text would.
  std::size_t removed = SelectionEnd() - SelectionStart();
  if (Length() - removed + block_size + EditBuffer::kGrowth > EditBuffer::kMaxCapacity) return Result::kTooLong;
  return Replace(text, length);
}

TextEditModel::Result TextEditModel::Backspace() {
  if (read_only_) return Result::kHandled;
  if (HasSelection()) {
    DeleteSelection();
    return Result::kHandled;
  }
  Deselect();
  if (caret_ == 0) return Result::kHandled;
  std::size_t end = caret_;
  StepLeft();
  buffer_.Replace(caret_, end - caret_, "", 0);
  dirty_ = true;
  return Result::kHandled;
}

TextEditModel::Result TextEditModel::DeleteForward() {
  if (read_only_ || Length() == 0) return Result::kHandled;
  if (HasSelection()) {
    DeleteSelection();
    return Result::kHandled;
  }
  Deselect();
  if (caret_ >= Length()) return Result::kHandled;
  std::size_t line_break = BreakAt(caret_);
  buffer_.Replace(caret_, line_break != 0 ? line_break : 1, "", 0);
  dirty_ = true;
  return Result::kHandled;
}

TextEditModel::Result TextEditModel::Key(unsigned key, KeyboardFlags flags) {
  switch (key) {
    case key::kHome:
    case key::kEnd:
    case key::kLeft:
    case key::kRight:
    case key::kUp:
    case key::kDown: Navigate(key, flags); return Result::kHandled;
    case key::kBackspace: return Backspace();
    case key::kDelete: return DeleteForward();
    case key::kEnter:
      if (!flags.shift || single_line_ || read_only_) return Result::kPassOn;
      return Replace("\r\n", 2);
    case key::kSpace: return TypeChar(' ');
    case 'A':
      if (!flags.control) return Result::kPassOn;
      SelectAll();
      return Result::kHandled;
    case 'C': return flags.control ? Result::kCopy : Result::kPassOn;
    case 'X':
      if (!flags.control) return Result::kPassOn;
      return read_only_ ? Result::kHandled : Result::kCut;
    case 'V':  // Ctrl+V, and Shift+Insert, which arrives as a shifted V
      if (!flags.control && !flags.shift) return Result::kPassOn;
      return read_only_ ? Result::kHandled : Result::kPaste;
    default: return Result::kPassOn;
  }
}

// --- Pointer and scrolling ---------------------------------------------------------------

void TextEditModel::PointerDown(int x, int y, bool shift) {
  std::size_t before = caret_;
  MoveToPoint(x + scroll_x_ - kPointerShiftX, y + scroll_y_ - kPointerShiftY);
  if (shift) {
    if (anchor_ < 0) anchor_ = static_cast<std::ptrdiff_t>(before);
  } else {
    anchor_ = static_cast<std::ptrdiff_t>(caret_);
  }
  end_ = static_cast<std::ptrdiff_t>(caret_);
  dirty_ = true;
}

void TextEditModel::PointerDrag(int x, int y) {
  std::size_t before = caret_;
  MoveToPoint(x + scroll_x_ - kPointerShiftX, y + scroll_y_ - kPointerShiftY);
  if (anchor_ < 0) anchor_ = static_cast<std::ptrdiff_t>(before);
  if (end_ != static_cast<std::ptrdiff_t>(caret_)) dirty_ = true;
  end_ = static_cast<std::ptrdiff_t>(caret_);
}

void TextEditModel::KeepCaretVisible(int width, int height, int right_margin) {
  int x = scroll_x_;
  if (x > caret_x_) {
    x = caret_x_;
  } else if (caret_x_ < x + kLeftSlack) {
    x = std::max(0, x - width / 3);
  } else if (caret_x_ > x + width - right_margin - kRightSlack) {
    x = caret_x_ - width + right_margin + kRightSlack;
  }
  int y = scroll_y_;
  if (y > caret_y_) {
    y = caret_y_;
  } else if (caret_y_ + metrics_.line_height > y + height - kBottomSlack) {
    y = caret_y_ + metrics_.line_height - height + kBottomSlack;
  }
  if (x != scroll_x_ || y != scroll_y_) dirty_ = true;
  scroll_x_ = x;
  scroll_y_ = y;
}

bool TextEditModel::TakeDirty() {
  bool dirty = dirty_;
  dirty_ = false;
  return dirty;
}
