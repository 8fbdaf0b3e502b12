#include "integrity_record.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "abort_reason.h"
#include "pack_error.h"
#include "package/pe_image.h"
#include "pe_resources.h"

namespace {

constexpr std::size_t kPieceSize = 1 << 20;

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* bytes, std::size_t n) {
  while (n > 0) {
    auto piece = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
    crc = static_cast<std::uint32_t>(crc32(crc, bytes, piece));
    bytes += piece;
    n -= piece;
  }
  return crc;
}

Bytes ReadRange(SetupFile& setup, std::uint64_t offset, std::size_t n) {
  Bytes bytes(n);
  AbortReason reason;
  try {
    setup.ReadAt(offset, bytes.data(), n);
  } catch (const AbortError&) {
    throw PackError(reason.Take("the file cannot be read"));
  }
  return bytes;
}

}  // namespace

std::optional<IntegrityRecord> FindIntegrityRecord(const Bytes& image) {
  for (const Resource& resource : ReadResources(image)) {
    if (!(resource.type == ResourceName{kResourceData, {}}) ||
        !(resource.name == ResourceName{kIntegrityRecordId, {}}) || resource.language != 0) {
      continue;
    }
    if (resource.data.size() != kIntegrityRecordSize ||
        std::memcmp(resource.data.data(), kIntegrityRecordMark, 4) != 0) {
      throw PackError("the integrity record (resource 1800) is not \"TCK1\" and 8 bytes");
    }
    return IntegrityRecord{resource.file_offset, LittleEndianAt(resource.data, 4, 4),
                           LittleEndianAt(resource.data, 8, 4)};
  }
  return std::nullopt;
}

std::string CheckIntegrityRecord(SetupFile& setup, const PackageDirectory& package) {
  std::uint64_t covered_from = package.SkinRecord().stream_offset;
  std::optional<IntegrityRecord> record;
  try {
    record = FindIntegrityRecord(ReadRange(setup, 0, covered_from));
  } catch (const PackError& error) {
    throw PackError(setup.Path() + ": " + error.what());
  }
  if (!record || record->count == 0) return "no integrity record (built before setups carried one)";

  Bytes head = ReadRange(setup, 0, std::min<std::uint64_t>(kPeHeadSize, setup.Size()));
  std::uint64_t data_end = PackageDataEnd(head.data(), head.size(), setup.Size());
  if (data_end < covered_from || record->count != data_end - covered_from) {
    throw PackError(setup.Path() + ": the integrity record covers " + std::to_string(record->count) +
                    " bytes, but the package holds " + std::to_string(data_end - std::min(data_end, covered_from)) +
                    ": the setup is damaged");
  }
  auto crc = static_cast<std::uint32_t>(crc32(0, nullptr, 0));
  for (std::uint64_t at = covered_from; at < data_end;) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceSize, data_end - at));
    Bytes piece = ReadRange(setup, at, n);
    crc = Crc32(crc, piece.data(), n);
    at += n;
  }
  if (crc != record->crc) {
    throw PackError(setup.Path() +
                    ": the CRC-32 of the package data does not match its integrity record: the setup "
                    "is damaged");
  }
  return "the CRC-32 of the package data matches its integrity record";
}
