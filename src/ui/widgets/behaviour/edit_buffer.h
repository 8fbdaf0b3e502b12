// The byte buffer of a text edit field: the text and its closing NUL in a
// block that starts at 16 bytes and grows by the text's need plus 100 bytes,
// never beyond 65535 bytes. A change that would need more is refused whole,
// so the text is never cut or half-changed.
#pragma once

#include <cstddef>
#include <vector>

class EditBuffer {
 public:
  static constexpr std::size_t kInitialCapacity = 16;
  static constexpr std::size_t kGrowth = 100;
  static constexpr std::size_t kMaxCapacity = 65535;

  EditBuffer();

  const char* Text() const { return bytes_.data(); }
  std::size_t Length() const { return length_; }
  std::size_t Capacity() const { return bytes_.size(); }
  // The byte at `position`; the NUL at Length().
  char At(std::size_t position) const { return bytes_[position]; }

  // Whether a text of `length` bytes fits, growing the block if it must.
  bool Fits(std::size_t length) const;

  // Replaces the text; false (text unchanged) when it cannot be held.
  bool Assign(const char* text, std::size_t length);
  // Replaces `count` bytes at `position` with `length` bytes of `text`;
  // false (text unchanged) when the result cannot be held.
  bool Replace(std::size_t position, std::size_t count, const char* text, std::size_t length);

 private:
  // Makes room for a text of `length` bytes.
  bool Reserve(std::size_t length);

  std::vector<char> bytes_;
  std::size_t length_ = 0;
};
