#include "package/crc32.h"

namespace {

// Built at first use: the table costs the setup 1 KiB of zeroed data
// instead of 1 KiB of file.
const std::uint32_t* Table() {
  static std::uint32_t table[256];
  if (table[1] == 0) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
  }
  return table;
}

}  // namespace

void Crc32::Add(const std::uint8_t* bytes, std::size_t n) {
  const std::uint32_t* table = Table();
  std::uint32_t c = state_;
  for (std::size_t i = 0; i < n; ++i) c = table[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
  state_ = c;
}
