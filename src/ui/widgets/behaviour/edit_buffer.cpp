#include "ui/widgets/behaviour/edit_buffer.h"

#include <cstring>

EditBuffer::EditBuffer() : bytes_(kInitialCapacity, '\0') {}

bool EditBuffer::Fits(std::size_t length) const {
  return length + 1 <= bytes_.size() || length + kGrowth <= kMaxCapacity;
}

bool EditBuffer::Reserve(std::size_t length) {
  if (length + 1 <= bytes_.size()) return true;
  if (!Fits(length)) return false;
  bytes_.resize(length + kGrowth, '\0');
  return true;
}

bool EditBuffer::Assign(const char* text, std::size_t length) {
  if (!Reserve(length)) return false;
  std::memcpy(bytes_.data(), text, length);
  bytes_[length] = '\0';
  length_ = length;
  return true;
}

bool EditBuffer::Replace(std::size_t position, std::size_t count, const char* text, std::size_t length) {
  std::size_t new_length = length_ - count + length;
  if (!Reserve(new_length)) return false;
  char* at = bytes_.data() + position;
  // The tail with its NUL moves to follow the new bytes.
  std::memmove(at + length, at + count, length_ - position - count + 1);
  std::memcpy(at, text, length);
  length_ = new_length;
  return true;
}
