#include "package/setup_copy.h"

#include <algorithm>

#include <cstring>

#include "fs/file_replacement.h"
#include "package/directory_writer.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"

namespace {

constexpr std::size_t kCopyPiece = 8192;
constexpr std::size_t kChecksumSize = 4;

// Exact reads: a setup that ends early would give a copy that cannot run.
// The CheckSum field is copied as zero and written once the copy is summed.
void CopyBytes(SourceStream& from, FileStream& to, std::uint64_t count, std::size_t checksum_field, PeChecksum& sum) {
  std::uint8_t buffer[kCopyPiece];
  while (count > 0) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, kCopyPiece));
    from.Read(buffer, n);
    std::uint64_t at = to.Position();
    if (checksum_field != 0 && at <= checksum_field && checksum_field + kChecksumSize <= at + n) {
      std::memset(buffer + (checksum_field - at), 0, kChecksumSize);
    }
    sum.Add(buffer, n);
    to.Write(buffer, n);
    count -= n;
  }
}

}  // namespace

std::uint64_t WriteSetupCopy(SourceStream& package_stream, PackageDirectory& package, const char* destination) {
  // The copy of an earlier run is replaced only by a complete one: without
  // it the product can be neither repaired nor removed.
  FileStream copy;
  BeginReplacement(copy, destination);
  try {
    package_stream.Seek(0);
    FILETIME time = package_stream.GetTime();
    // The copy differs from the running setup in its version, so its CheckSum
    // is that of the copy's own bytes (the headers lie in the first piece).
    std::uint8_t head[kCopyPiece];
    std::size_t head_length = static_cast<std::size_t>(std::min<std::uint64_t>(package.header_offset, sizeof head));
    package_stream.Read(head, head_length);
    PeImageInfo image = ReadPeImageInfo(head, head_length);
    std::size_t checksum_field =
        image.is_pe && image.checksum_field + kChecksumSize <= head_length ? image.checksum_field : 0;
    package_stream.Seek(0);
    PeChecksum sum;
    CopyBytes(package_stream, copy, package.header_offset, checksum_field, sum);

    package_stream.Seek(std::uint64_t{package.header_offset} + kVersionRecordSize);
    package.version.patch = 0;
    package.version.check_word = PackageCheckWord(package.version);
    std::uint8_t version[kVersionRecordSize];
    EncodeVersion(package.version, version);
    copy.Write(version, sizeof version);
    sum.Add(version, sizeof version);

    std::uint64_t size = package_stream.Size();
    std::uint64_t rest = std::uint64_t{package.header_offset} + kVersionRecordSize;
    CopyBytes(package_stream, copy, size > rest ? size - rest : 0, 0, sum);
    if (checksum_field != 0) {
      std::uint32_t field = sum.Field(copy.Position());
      std::uint8_t bytes[kChecksumSize] = {static_cast<std::uint8_t>(field), static_cast<std::uint8_t>(field >> 8),
                                           static_cast<std::uint8_t>(field >> 16),
                                           static_cast<std::uint8_t>(field >> 24)};
      copy.Seek(checksum_field);
      copy.Write(bytes, sizeof bytes);
    }
    copy.SetTime(time);
    CommitReplacement(copy, destination);
    return size;
  } catch (...) {
    DiscardReplacement(copy);
    throw;
  }
}
