// The integrity record of a setup: resource RCDATA 1800 (language neutral)
// of the setup program, 12 bytes: "TCK1", then zlib's CRC-32 and the count
// of the bytes it covers, both little-endian. They run from the skin
// archive's start up to and including the package trailer, so the program
// image before them and a signature behind them are not covered.
//
// The PE CheckSum is a 16-bit sum that two swapped words pass unchanged; the
// CRC catches them. The setup program carries the record with zeros, and
// the builder fills it once the package is written. A setup without the
// record, or with a count of 0, was built before it existed and is checked
// by the CheckSum alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/package_directory.h"
#include "setup_file.h"
#include "stream_encoder.h"

inline constexpr std::uint16_t kIntegrityRecordId = 1800;
inline constexpr std::size_t kIntegrityRecordSize = 12;
inline constexpr char kIntegrityRecordMark[] = "TCK1";

struct IntegrityRecord {
  std::size_t at = 0;  // file offset of the record's 12 bytes
  std::uint32_t crc = 0;
  std::uint32_t count = 0;
};

// The record of a program image; none when the image carries none.
// PackError when the image's resources are damaged.
std::optional<IntegrityRecord> FindIntegrityRecord(const Bytes& image);

// What the record says of `setup`; PackError naming the damage when the
// covered bytes do not match it.
std::string CheckIntegrityRecord(SetupFile& setup, const PackageDirectory& package);
