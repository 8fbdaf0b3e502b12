#include "package/package_sum.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "package/crc32.h"
#include "package/integrity_record.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"

namespace {

constexpr std::size_t kPiece = 65536;
constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kSecurityEntrySize = 8;

}  // namespace

PackageSum CheckPackageSum(PackageFile& file, std::uint64_t program_end) {
  std::uint64_t size = file.Size();
  std::vector<std::uint8_t> piece(kPiece);
  std::size_t head_length = static_cast<std::size_t>(std::min<std::uint64_t>(size, kPeHeadSize));
  file.ReadAt(0, piece.data(), head_length);
  PeImageInfo info = ReadPeImageInfo(piece.data(), head_length);
  // Every setup is a program image; one whose headers no longer read is damaged.
  if (!info.is_pe) return PackageSum::kBroken;
  IntegrityRecord record = FindIntegrityRecord(file);
  if (record.kind == IntegrityRecord::Kind::kMalformed) return PackageSum::kRecordBroken;
  bool has_record = record.kind == IntegrityRecord::Kind::kFilled;
  if (info.checksum == 0 && !has_record) return PackageSum::kNone;
  std::uint64_t data_end = PackageDataEnd(piece.data(), head_length, size);
  // The record covers the package exactly: a cut or lengthened file fails here.
  if (has_record && (data_end < program_end || data_end - program_end != record.count)) {
    return PackageSum::kRecordBroken;
  }
  std::uint8_t security_entry[kSecurityEntrySize] = {};
  if (info.security_entry != 0) std::memcpy(security_entry, piece.data() + info.security_entry, sizeof security_entry);

  // One pass, stopping at the end of the program and at the certificate
  // table, where the sums of the shorter files are taken.
  PeChecksum sum;
  Crc32 crc;
  std::uint32_t program_sum = 0, unsigned_sum = 0;
  std::uint64_t position = 0;
  while (position < size) {
    std::uint64_t stop = size;
    if (program_end > position) stop = std::min(stop, program_end);
    if (data_end > position) stop = std::min(stop, data_end);
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(stop - position, kPiece));
    file.ReadAt(position, piece.data(), n);
    if (position < info.checksum_field + kChecksumSize && info.checksum_field < position + n) {
      // The field counts as zero; headers lie within the first piece.
      std::size_t from = info.checksum_field - static_cast<std::size_t>(position);
      std::memset(piece.data() + from, 0, std::min(kChecksumSize, n - from));
    }
    sum.Add(piece.data(), n);
    if (has_record && position >= program_end && position < data_end) crc.Add(piece.data(), n);
    position += n;
    if (position == program_end) program_sum = sum.Field(program_end);
    if (position == data_end && data_end != size) {
      PeChecksum before_signing = sum;
      before_signing.Remove(security_entry, sizeof security_entry);
      unsigned_sum = before_signing.Field(data_end);
    }
  }
  if (has_record && crc.Value() != record.crc) return PackageSum::kRecordBroken;
  if (info.checksum == 0) return PackageSum::kNone;
  if (info.checksum == sum.Field(size)) return PackageSum::kWholeFile;
  if (data_end != size && info.checksum == unsigned_sum) return PackageSum::kUnsignedFile;
  if (info.checksum == program_sum) return PackageSum::kNone;
  return PackageSum::kBroken;
}
