// CRC-32 as zlib's crc32() computes it (the IEEE polynomial, reflected,
// starting from and ending with all bits inverted): the check of the
// integrity record (integrity_record.h).
#pragma once

#include <cstddef>
#include <cstdint>

class Crc32 {
 public:
  void Add(const std::uint8_t* bytes, std::size_t n);
  std::uint32_t Value() const { return ~state_; }

 private:
  std::uint32_t state_ = 0xFFFFFFFF;
};
