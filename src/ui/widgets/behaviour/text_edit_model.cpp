#include "ui/widgets/behaviour/text_edit_model.h"

#include <algorithm>
#include <cstring>

#include "ui/widgets/behaviour/word_separators.h"
#include "ui/core/key_codes.h"

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

TextEditModel::TextEditModel(const FontMetrics& metrics, bool singleLine)
    : metrics_(metrics), singleLine_(singleLine) {}

bool TextEditModel::SetText(const char* text) {
  if (text == nullptr) text = "";
  if (!buffer_.Assign(text, std::strlen(text))) return false;
  anchor_ = end_ = -1;
  caret_ = 0;
  caretX_ = caretY_ = 0;
  scrollX_ = scrollY_ = 0;
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
  if (std::size_t lineBreak = BreakAt(caret_)) {
    caret_ += lineBreak;
    caretX_ = 0;
    caretY_ += metrics_.lineHeight;
  } else {
    caretX_ += metrics_.widths[static_cast<unsigned char>(At(caret_))];
    ++caret_;
  }
}

void TextEditModel::StepLeft() {
  if (caret_ == 0) return;
  if (std::size_t lineBreak = BreakBefore(caret_)) {
    caret_ -= lineBreak;
    caretY_ -= metrics_.lineHeight;
    caretX_ = Width(LineStart(caret_), caret_);
  } else {
    --caret_;
    caretX_ -= metrics_.widths[static_cast<unsigned char>(At(caret_))];
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
    if (std::size_t lineBreak = BreakAt(i)) {
      ++lines;
      i += lineBreak - 1;
    }
  }
  caret_ = position;
  caretY_ = static_cast<int>(lines) * metrics_.lineHeight;
  caretX_ = Width(LineStart(position), position);
}

void TextEditModel::MoveToPoint(int x, int y) {
  PlaceCaret(0);
  if (y < 0) return;
  if (!singleLine_) {
    while (caretY_ <= y - metrics_.lineHeight && caret_ < Length()) StepRight();
    while (caretX_ < x && caret_ < Length() && At(caret_) != '\r') StepRight();
  } else {
    while (caretX_ < x && caret_ < Length()) StepRight();
  }
}

void TextEditModel::Navigate(unsigned key, KeyboardFlags flags) {
  if (!flags.shift) {
    Deselect();
  } else if (anchor_ < 0) {
    anchor_ = end_ = static_cast<std::ptrdiff_t>(caret_);
  }
  switch (key) {
    case key::kHome:
      PlaceCaret(flags.control ? 0 : LineStart(caret_));
      break;
    case key::kEnd:
      PlaceCaret(flags.control ? Length() : LineEnd(caret_));
      break;
    case key::kLeft:
      if (flags.control) WordLeft();
      else StepLeft();
      break;
    case key::kRight:
      if (flags.control) WordRight();
      else StepRight();
      break;
    case key::kUp:
      MoveToPoint(caretX_ - 2, caretY_ - metrics_.lineHeight);
      break;
    case key::kDown:
      MoveToPoint(caretX_, caretY_ + metrics_.lineHeight);
      break;
    default:
      break;
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
  if (readOnly_ || character < ' ' || character == 0x7F) return Result::kHandled;
  char byte = static_cast<char>(character);
  return Replace(&byte, 1);
}

TextEditModel::Result TextEditModel::Paste(const char* text, std::size_t blockSize) {
  if (readOnly_) return Result::kHandled;
  const void* nul = std::memchr(text, '\0', blockSize);
  std::size_t length = nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : blockSize;
  if (singleLine_) {
    const void* lineBreak = std::memchr(text, '\r', length);
    if (lineBreak != nullptr) length = static_cast<std::size_t>(static_cast<const char*>(lineBreak) - text);
  }
  // The clipboard's block must fit with room to spare, as a typed text would.
  std::size_t removed = SelectionEnd() - SelectionStart();
  if (Length() - removed + blockSize + EditBuffer::kGrowth > EditBuffer::kMaxCapacity) return Result::kTooLong;
  return Replace(text, length);
}

TextEditModel::Result TextEditModel::Backspace() {
  if (readOnly_) return Result::kHandled;
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
  if (readOnly_ || Length() == 0) return Result::kHandled;
  if (HasSelection()) {
    DeleteSelection();
    return Result::kHandled;
  }
  Deselect();
  if (caret_ >= Length()) return Result::kHandled;
  std::size_t lineBreak = BreakAt(caret_);
  buffer_.Replace(caret_, lineBreak != 0 ? lineBreak : 1, "", 0);
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
    case key::kDown:
      Navigate(key, flags);
      return Result::kHandled;
    case key::kBackspace:
      return Backspace();
    case key::kDelete:
      return DeleteForward();
    case key::kEnter:
      if (!flags.shift || singleLine_ || readOnly_) return Result::kPassOn;
      return Replace("\r\n", 2);
    case key::kSpace:
      return TypeChar(' ');
    case 'A':
      if (!flags.control) return Result::kPassOn;
      SelectAll();
      return Result::kHandled;
    case 'C':
      return flags.control ? Result::kCopy : Result::kPassOn;
    case 'X':
      if (!flags.control) return Result::kPassOn;
      return readOnly_ ? Result::kHandled : Result::kCut;
    case 'V':  // Ctrl+V, and Shift+Insert, which arrives as a shifted V
      if (!flags.control && !flags.shift) return Result::kPassOn;
      return readOnly_ ? Result::kHandled : Result::kPaste;
    default:
      return Result::kPassOn;
  }
}

// --- Pointer and scrolling ---------------------------------------------------------------

void TextEditModel::PointerDown(int x, int y, bool shift) {
  std::size_t before = caret_;
  MoveToPoint(x + scrollX_ - kPointerShiftX, y + scrollY_ - kPointerShiftY);
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
  MoveToPoint(x + scrollX_ - kPointerShiftX, y + scrollY_ - kPointerShiftY);
  if (anchor_ < 0) anchor_ = static_cast<std::ptrdiff_t>(before);
  if (end_ != static_cast<std::ptrdiff_t>(caret_)) dirty_ = true;
  end_ = static_cast<std::ptrdiff_t>(caret_);
}

void TextEditModel::KeepCaretVisible(int width, int height, int rightMargin) {
  int x = scrollX_;
  if (x > caretX_) {
    x = caretX_;
  } else if (caretX_ < x + kLeftSlack) {
    x = std::max(0, x - width / 3);
  } else if (caretX_ > x + width - rightMargin - kRightSlack) {
    x = caretX_ - width + rightMargin + kRightSlack;
  }
  int y = scrollY_;
  if (y > caretY_) {
    y = caretY_;
  } else if (caretY_ + metrics_.lineHeight > y + height - kBottomSlack) {
    y = caretY_ + metrics_.lineHeight - height + kBottomSlack;
  }
  if (x != scrollX_ || y != scrollY_) dirty_ = true;
  scrollX_ = x;
  scrollY_ = y;
}

bool TextEditModel::TakeDirty() {
  bool dirty = dirty_;
  dirty_ = false;
  return dirty;
}
