// Texts in fixed buffers. The program keeps every text as NUL-terminated
// 8-bit ANSI bytes in a buffer whose size is part of its behaviour (paths of
// at most 512 characters, system paths of at most 259). FixedText carries that
// limit in its type, and TextBuffer is the bounded destination that every
// writing routine takes, so no routine can write past a buffer.
#pragma once

#include <cstddef>
#include <cstring>

// A destination for text: `chars` holds `capacity` bytes, NUL included.
struct TextBuffer {
  char* chars;
  std::size_t capacity;

  std::size_t MaxLength() const { return capacity - 1; }
};

template <std::size_t MaxLengthV>
class FixedText {
 public:
  static constexpr std::size_t kMaxLength = MaxLengthV;

  FixedText() { chars_[0] = '\0'; }
  explicit FixedText(const char* text) { Assign(text); }

  // Copies `text`, cut to kMaxLength characters; false when it was cut.
  bool Assign(const char* text) {
    chars_[0] = '\0';
    return Append(text);
  }
  // Appends `text`, cut to what fits; false when it was cut.
  bool Append(const char* text) {
    std::size_t used = std::strlen(chars_);
    std::size_t add = std::strlen(text);
    bool fits = add <= kMaxLength - used;
    if (!fits) add = kMaxLength - used;
    std::memmove(chars_ + used, text, add);
    chars_[used + add] = '\0';
    return fits;
  }
  void Clear() { chars_[0] = '\0'; }
  // Keeps the first `length` characters.
  void Cut(std::size_t length) {
    if (length < size()) chars_[length] = '\0';
  }

  const char* c_str() const { return chars_; }
  char* data() { return chars_; }
  std::size_t size() const { return std::strlen(chars_); }
  bool empty() const { return chars_[0] == '\0'; }

  operator TextBuffer() { return TextBuffer{chars_, kMaxLength + 1}; }

 private:
  char chars_[kMaxLength + 1];
};

// The common text: 512 characters and the NUL.
using Text = FixedText<512>;
// A path as the system hands it out (MAX_PATH bytes with the NUL).
using SystemPath = FixedText<259>;
