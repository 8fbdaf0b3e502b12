#include "package/setup_copy.h"

#include <algorithm>

#include <cstring>

#include "fs/file_replacement.h"
#include "package/crc32.h"
#include "package/directory_writer.h"
#include "package/integrity_record.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"
#include "package/read_package.h"

namespace {

constexpr std::size_t kCopyPiece = 8192;
constexpr std::size_t kChecksumSize = 4;

// What the copy computes as it goes: its PE CheckSum, with the CheckSum
// field and the integrity record's values counted as zero (both are written
// once the copy is whole), and the CRC-32 of the range the record covers.
struct CopySums {
  std::size_t checksum_field = 0;   // 0: none
  std::uint64_t record_values = 0;  // 0: no record to fill
  std::uint64_t covered_from = 0;
  std::uint64_t covered_to = 0;
  PeChecksum sum;
  Crc32 crc;
};

void ZeroOverlap(std::uint8_t* buffer, std::uint64_t at, std::size_t n, std::uint64_t from, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (from + i >= at && from + i < at + n) buffer[from + i - at] = 0;
  }
}

// Exact reads: a setup that ends early would give a copy that cannot run.
void CopyBytes(SourceStream& from, FileStream& to, std::uint64_t count, CopySums& sums) {
  std::uint8_t buffer[kCopyPiece];
  while (count > 0) {
    std::uint64_t at = to.Position();
    // Pieces end where the covered range begins and ends.
    std::uint64_t piece = std::min<std::uint64_t>(count, kCopyPiece);
    for (std::uint64_t edge : {sums.covered_from, sums.covered_to}) {
      if (edge > at && edge - at < piece) piece = edge - at;
    }
    auto n = static_cast<std::size_t>(piece);
    from.Read(buffer, n);
    if (sums.checksum_field != 0) ZeroOverlap(buffer, at, n, sums.checksum_field, kChecksumSize);
    if (sums.record_values != 0) ZeroOverlap(buffer, at, n, sums.record_values, kIntegrityValuesSize);
    sums.sum.Add(buffer, n);
    if (at >= sums.covered_from && at < sums.covered_to) sums.crc.Add(buffer, n);
    to.Write(buffer, n);
    count -= n;
  }
}

void WriteAt(FileStream& to, std::uint64_t offset, const std::uint8_t* bytes, std::size_t n) {
  to.Seek(offset);
  to.Write(bytes, n);
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
    std::uint64_t size = package_stream.Size();
    // The copy differs from the running setup in its version, so its CheckSum
    // and its integrity record are those of the copy's own bytes (the headers
    // lie in the first piece).
    std::uint8_t head[kCopyPiece];
    std::size_t head_length = static_cast<std::size_t>(std::min<std::uint64_t>(package.header_offset, sizeof head));
    package_stream.Read(head, head_length);
    PeImageInfo image = ReadPeImageInfo(head, head_length);
    CopySums sums;
    sums.checksum_field = image.is_pe && image.checksum_field + kChecksumSize <= head_length ? image.checksum_field : 0;
    StreamPackageFile source(package_stream);
    IntegrityRecord record = FindIntegrityRecord(source);
    // The copy holds as many bytes as the setup, so the record covers the
    // same range; a setup without a filled record gives a copy without one.
    sums.covered_to = PackageDataEnd(head, head_length, size);
    if (record.kind == IntegrityRecord::Kind::kFilled && record.count <= sums.covered_to &&
        sums.covered_to - record.count <= package.header_offset) {
      sums.record_values = record.values_offset;
      sums.covered_from = sums.covered_to - record.count;
    } else {
      sums.covered_to = 0;
    }
    package_stream.Seek(0);
    CopyBytes(package_stream, copy, package.header_offset, sums);

    package_stream.Seek(std::uint64_t{package.header_offset} + kVersionRecordSize);
    package.version.patch = 0;
    package.version.check_word = PackageCheckWord(package.version);
    std::uint8_t version[kVersionRecordSize];
    EncodeVersion(package.version, version);
    copy.Write(version, sizeof version);
    sums.sum.Add(version, sizeof version);
    if (sums.record_values != 0) sums.crc.Add(version, sizeof version);

    std::uint64_t rest = std::uint64_t{package.header_offset} + kVersionRecordSize;
    CopyBytes(package_stream, copy, size > rest ? size - rest : 0, sums);
    std::uint64_t copy_size = copy.Position();
    if (sums.record_values != 0) {
      std::uint8_t values[kIntegrityValuesSize];
      EncodeIntegrityValues(sums.crc.Value(), record.count, values);
      sums.sum.AddAt(sums.record_values, values, sizeof values);
      WriteAt(copy, sums.record_values, values, sizeof values);
    }
    if (sums.checksum_field != 0) {
      std::uint32_t field = sums.sum.Field(copy_size);
      std::uint8_t bytes[kChecksumSize] = {static_cast<std::uint8_t>(field), static_cast<std::uint8_t>(field >> 8),
                                           static_cast<std::uint8_t>(field >> 16),
                                           static_cast<std::uint8_t>(field >> 24)};
      WriteAt(copy, sums.checksum_field, bytes, sizeof bytes);
    }
    copy.SetTime(time);
    CommitReplacement(copy, destination);
    return size;
  } catch (...) {
    DiscardReplacement(copy);
    throw;
  }
}
