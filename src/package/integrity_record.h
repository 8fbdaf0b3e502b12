// The integrity record: a CRC-32 over the appended package, kept where the
// package readers never look, in a resource of the setup program.
//
// An RT_RCDATA resource, ID 1800, language neutral, of 12 bytes: "TCK1",
// then the CRC-32 (little-endian) and the count of bytes it covers: from
// the skin archive's start (record 1's stream offset) up to and including
// the package trailer. The program image before it is covered by the PE
// CheckSum, a signature's certificate table behind it by nothing.
//
// The stub carries the record with both values 0; the builder fills them
// once the package is written, and the setup copy gets its own. A setup
// without the resource, or with a count of 0, was made before the record
// existed and has only its PE CheckSum.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/package_loader.h"

inline constexpr std::uint32_t kIntegrityResourceId = 1800;
inline constexpr std::size_t kIntegrityRecordSize = 12;
inline constexpr std::size_t kIntegrityValuesSize = 8;  // the CRC and the count

struct IntegrityRecord {
  enum class Kind : std::uint8_t {
    kNone = 0,       // no resource 1800: an older setup
    kUnfilled = 1,   // count 0: the stub's, or a builder that did not fill it
    kFilled = 2,     // the CRC and the count hold values
    kMalformed = 3,  // resource 1800 is not such a record, or lies outside the file: damage
  };
  Kind kind = Kind::kNone;
  std::uint64_t values_offset = 0;  // file offset of the CRC; the count follows
  std::uint32_t crc = 0;
  std::uint32_t count = 0;
};

// Walks the resource directory of the PE image at the start of `file`.
// Reads only inside the file; a read error ends in AbortError as every
// read of PackageFile does.
IntegrityRecord FindIntegrityRecord(PackageFile& file);

// The eight value bytes as stored: the CRC, then the count, little-endian.
void EncodeIntegrityValues(std::uint32_t crc, std::uint32_t count, std::uint8_t out[kIntegrityValuesSize]);
