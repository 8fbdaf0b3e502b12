#include "package/package_loader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "log/logger.h"
#include "package/directory_parser.h"
#include "package/pe_image.h"

namespace {

constexpr const char kReadError[] = "Error reading file: %s";

std::uint32_t LittleU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

void LoadPackageDirectory(PackageFile& file, const char* path, PackageDirectory& out) {
  std::uint64_t size = file.Size();
  std::uint8_t head[kPeHeadSize];
  std::size_t head_length = static_cast<std::size_t>(std::min<std::uint64_t>(size, sizeof head));
  file.ReadAt(0, head, head_length);
  std::uint64_t data_end = PackageDataEnd(head, head_length, size);
  if (data_end < kTrailerSize) LogErrorWith(kReadError, path);

  std::uint64_t trailer = data_end - kTrailerSize;
  std::uint8_t trailer_bytes[kTrailerSize];
  file.ReadAt(trailer, trailer_bytes, sizeof trailer_bytes);
  std::uint32_t header_offset = LittleU32(trailer_bytes);
  // A directory that would run into the trailer or beyond reads short.
  if (header_offset > trailer) LogErrorWith(kReadError, path);

  std::size_t length =
      static_cast<std::size_t>(std::min<std::uint64_t>(trailer - header_offset, kMaxExtendedDirectorySize));
  std::vector<std::uint8_t> directory(length);
  file.ReadAt(header_offset, directory.data(), length);
  ParsePackageDirectory(directory.data(), length, header_offset, path, out);
}

void MemoryPackageFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) {
  if (offset > length_ || length_ - offset < n) LogErrorWith(kReadError, path_);
  if (n == 0) return;
  std::memcpy(buffer, bytes_ + offset, n);
}
