// The PE optional header's CheckSum, computed as Windows' CheckSumMappedFile
// does: the 16-bit little-endian words of the file (a last odd byte padded
// with zero) added with end-around carry, the CheckSum field itself counted
// as zero, plus the file's length.
//
// The builder stores this sum over the whole finished setup, appended
// package included, so that the setup can find a damaged payload: the
// package format has no checksum of its own over the file data.
#pragma once

#include <cstddef>
#include <cstdint>

class PeChecksum {
 public:
  // Adds the next `n` bytes of the file.
  void Add(const std::uint8_t* bytes, std::size_t n);
  // The words so far, folded to 16 bits; 0 only when all were 0.
  std::uint16_t Folded() const;
  // Adds `n` bytes that lie at `offset`, out of order: values filled in
  // after the bytes around them were summed as zero.
  void AddAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t n);
  // Takes away the words of `n` bytes that were added at an even offset.
  void Remove(const std::uint8_t* bytes, std::size_t n);
  // The CheckSum value of a file of `length` bytes whose words these are.
  std::uint32_t Field(std::uint64_t length) const;

 private:
  std::uint64_t sum_ = 0;
  bool odd_ = false;  // the last byte added was the low byte of a word
};

// The CheckSum for `bytes`, a whole file whose field lies at `field`.
std::uint32_t PeFileChecksum(const std::uint8_t* bytes, std::size_t length, std::size_t field);
