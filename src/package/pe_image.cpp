#include "package/pe_image.h"

namespace {

std::uint32_t Little(const std::uint8_t* p, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::uint32_t kSecurityEntry = 4;
constexpr std::size_t kChecksumField = 64;  // the same in PE32 and PE32+

}  // namespace

PeImageInfo ReadPeImageInfo(const std::uint8_t* head, std::size_t length) {
  PeImageInfo info;
  if (length < kPeOffsetField + 4 || head[0] != 'M' || head[1] != 'Z') return info;
  std::size_t pe = Little(head + kPeOffsetField, 4);
  std::size_t optional = pe + 4 + kCoffHeaderSize;
  if (pe > length || length - pe < 4 + kCoffHeaderSize + 2) return info;
  if (head[pe] != 'P' || head[pe + 1] != 'E' || head[pe + 2] != 0 || head[pe + 3] != 0) return info;

  std::uint32_t optional_size = Little(head + pe + 4 + 16, 2);
  std::uint32_t magic = Little(head + optional, 2);
  // PE32 and PE32+ differ in where the data directory begins.
  std::size_t count_field;
  if (magic == 0x10B) {
    count_field = 92;
  } else if (magic == 0x20B) {
    count_field = 108;
  } else {
    return info;
  }
  std::size_t entry = count_field + 4 + kSecurityEntry * 8;
  if (optional_size < count_field + 4 || length - optional < count_field + 4) return info;
  info.is_pe = true;
  info.is_64_bit = magic == 0x20B;
  info.checksum_field = optional + kChecksumField;
  info.checksum = Little(head + info.checksum_field, 4);
  if (Little(head + optional + count_field, 4) <= kSecurityEntry) return info;
  if (optional_size < entry + 8 || length - optional < entry + 8) return info;
  info.security_entry = optional + entry;
  info.certificate_offset = Little(head + optional + entry, 4);
  info.certificate_size = Little(head + optional + entry + 4, 4);
  return info;
}

std::uint64_t PackageDataEnd(const std::uint8_t* head, std::size_t length, std::uint64_t file_size) {
  PeImageInfo info = ReadPeImageInfo(head, length);
  // Only a table that ends the file was appended after the package; one
  // elsewhere (a signed program with data appended later) is part of the image.
  if (info.certificate_offset != 0 && info.certificate_size != 0 &&
      std::uint64_t{info.certificate_offset} + info.certificate_size == file_size) {
    return info.certificate_offset;
  }
  return file_size;
}
