#include "package/pe_checksum.h"

namespace {

constexpr std::uint64_t kWordMask = 0xFFFF;
constexpr std::size_t kFieldSize = 4;

// 2^16 leaves 1 modulo 2^16 - 1, so 32-bit words add up to the same folded
// sum as their two halves, with half as many additions.
std::uint32_t Dword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

void PeChecksum::Add(const std::uint8_t* bytes, std::size_t n) {
  if (n == 0) return;
  if (odd_) {
    sum_ += std::uint64_t{*bytes++} << 8;
    --n;
    odd_ = false;
  }
  // Fold now and then so that the 64 bits never overflow, whatever n is.
  constexpr std::size_t kFoldEvery = std::size_t{1} << 20;
  std::uint64_t sum = sum_;
  std::size_t since_fold = 0;
  for (; n >= 4; n -= 4, bytes += 4) {
    sum += Dword(bytes);
    if (++since_fold == kFoldEvery) {
      sum = (sum & 0xFFFFFFFF) + (sum >> 32);
      since_fold = 0;
    }
  }
  if (n >= 2) {
    sum += static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8);
    bytes += 2;
    n -= 2;
  }
  if (n == 1) {
    sum += *bytes;
    odd_ = true;
  }
  sum_ = (sum & 0xFFFFFFFF) + (sum >> 32);
}

std::uint16_t PeChecksum::Folded() const {
  std::uint64_t sum = sum_;
  while (sum > kWordMask) sum = (sum & kWordMask) + (sum >> 16);
  return static_cast<std::uint16_t>(sum);
}

void PeChecksum::AddAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t n) {
  PeChecksum part;
  part.odd_ = offset % 2 != 0;  // the first byte is a word's high byte
  part.Add(bytes, n);
  sum_ = Folded() + part.Folded();
}

void PeChecksum::Remove(const std::uint8_t* bytes, std::size_t n) {
  PeChecksum removed;
  removed.Add(bytes, n);
  // Adding the complement subtracts in end-around-carry arithmetic.
  sum_ = Folded() + (kWordMask ^ removed.Folded());
}

std::uint32_t PeChecksum::Field(std::uint64_t length) const { return static_cast<std::uint32_t>(Folded() + length); }

std::uint32_t PeFileChecksum(const std::uint8_t* bytes, std::size_t length, std::size_t field) {
  PeChecksum sum;
  sum.Add(bytes, field);
  const std::uint8_t zero[kFieldSize] = {};
  sum.Add(zero, kFieldSize);
  sum.Add(bytes + field + kFieldSize, length - field - kFieldSize);
  return sum.Field(length);
}
