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
constexpr std::size_t kSecurityEntrySize = 8;

std::uint16_t ReadU16(SourceStream& stream, std::uint64_t offset) {
  std::uint8_t bytes[2];
  stream.Seek(offset);
  stream.Read(bytes, sizeof bytes);
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// The offset of the flags of an extended directory at `header_offset`; 0
// for a directory in the first layout.
std::uint64_t ExtendedFlagsOffset(SourceStream& stream, std::uint64_t header_offset) {
  std::uint64_t count_field =
      header_offset + kVersionRecordSize + 2 + ReadU16(stream, header_offset + kVersionRecordSize);
  return ReadU16(stream, count_field) == kExtendedMark ? count_field + 4 : 0;
}

// What the copy computes as it goes: its PE CheckSum, with the CheckSum
// field and the integrity record's values counted as zero (both are written
// once the copy is whole), and the CRC-32 of the range the record covers.
struct CopySums {
  std::size_t checksum_field = 0;   // 0: none
  std::uint64_t record_values = 0;  // 0: no record to fill
  std::uint64_t covered_from = 0;
  std::uint64_t covered_to = 0;
  std::size_t security_entry = 0;     // 0: kept; else counted and written as zero
  std::uint64_t directory_flags = 0;  // 0: kept; else the flags that gain kWithoutStreams
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
    if (sums.security_entry != 0) ZeroOverlap(buffer, at, n, sums.security_entry, kSecurityEntrySize);
    if (sums.directory_flags >= at && sums.directory_flags - at < n)
      buffer[sums.directory_flags - at] |= kWithoutStreams;
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
    std::uint64_t data_end = PackageDataEnd(head, head_length, size);
    // A product in the extended layout may be large: its copy leaves the
    // streams out (the uninstall and the mode decision need only the
    // directory) and so also the signature, which no longer holds.
    const FileRecord& skin = package.SkinRecord();
    std::uint64_t streams_from = std::uint64_t{skin.stream_offset} + skin.size;
    sums.directory_flags = ExtendedFlagsOffset(package_stream, package.header_offset);
    bool streamless = sums.directory_flags != 0;
    if (streamless) {
      sums.directory_flags -= package.header_offset - streams_from;
      bool has_entry = image.is_pe && image.security_entry + kSecurityEntrySize <= head_length;
      sums.security_entry = has_entry ? image.security_entry : 0;
    }
    // A setup without a filled record gives a copy without one.
    if (record.kind == IntegrityRecord::Kind::kFilled && record.count <= data_end &&
        data_end - record.count <= package.header_offset) {
      sums.record_values = record.values_offset;
      sums.covered_from = data_end - record.count;
      sums.covered_to = streamless ? UINT64_MAX : data_end;
    }
    package_stream.Seek(0);
    CopyBytes(package_stream, copy, streamless ? streams_from : package.header_offset, sums);

    package.version.patch = 0;
    package.version.check_word = PackageCheckWord(package.version);
    std::uint8_t version[kVersionRecordSize];
    EncodeVersion(package.version, version);
    copy.Write(version, sizeof version);
    sums.sum.Add(version, sizeof version);
    if (sums.record_values != 0) sums.crc.Add(version, sizeof version);

    std::uint64_t rest = std::uint64_t{package.header_offset} + kVersionRecordSize;
    package_stream.Seek(rest);
    if (streamless) {
      // The directory without its trailer, then the trailer at its new place.
      CopyBytes(package_stream, copy, data_end - kTrailerSize - rest, sums);
      std::uint8_t trailer[kTrailerSize];
      for (std::size_t i = 0; i < kTrailerSize; ++i) trailer[i] = static_cast<std::uint8_t>(streams_from >> (8 * i));
      copy.Write(trailer, sizeof trailer);
      sums.sum.Add(trailer, sizeof trailer);
      if (sums.record_values != 0) sums.crc.Add(trailer, sizeof trailer);
    } else {
      CopyBytes(package_stream, copy, size > rest ? size - rest : 0, sums);
    }
    std::uint64_t copy_size = copy.Position();
    if (sums.record_values != 0) {
      std::uint8_t values[kIntegrityValuesSize];
      auto count = static_cast<std::uint32_t>(streamless ? copy_size - sums.covered_from : record.count);
      EncodeIntegrityValues(sums.crc.Value(), count, values);
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
    // The uninstall and every repair start from this file: it is on the disk
    // before the registration that names it.
    copy.Flush();
    CommitReplacement(copy, destination);
    return size;
  } catch (...) {
    DiscardReplacement(copy);
    throw;
  }
}
