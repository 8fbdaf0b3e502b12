// A ByteSource over a block of memory, for the tools and tests that decode
// data they already hold. `piece` caps what one read hands out, so a caller
// can feed a decoder in pieces as small as one byte.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "inflate/byte_source.h"

class MemorySource final : public ByteSource {
 public:
  MemorySource(const void* data, std::size_t size, std::size_t piece = SIZE_MAX)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size), piece_(piece) {}

  std::size_t ReadUpTo(void* destination, std::size_t n) override {
    std::size_t count = std::min({n, piece_, size_ - position_});
    if (count != 0) std::memcpy(destination, data_ + position_, count);
    position_ += count;
    return count;
  }

  // Moves to `position` (at most the size), as the setup seeks its package stream.
  void Seek(std::size_t position) { position_ = std::min(position, size_); }
  std::size_t Position() const { return position_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t piece_;
  std::size_t position_ = 0;
};
