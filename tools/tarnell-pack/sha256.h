// SHA-256 (FIPS 180-4), for the file digests that `list --sha256` prints so
// that a publisher can compare a setup's files with the build's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
 public:
  Sha256();
  void Add(const std::uint8_t* bytes, std::size_t n);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> pending_{};
  std::size_t pending_length_ = 0;
  std::uint64_t length_ = 0;
};
