// The check of a whole setup file against the CheckSum field of its PE
// header (see pe_checksum.h), which the builder fills in over every byte of
// the finished setup.
//
// Signing changes the file. A signing tool either sums the signed file again
// or leaves the builder's sum, which then covers the file without the
// certificate table and with the security entry still empty; both hold.
// Setups built before the builder kept a package sum carry the linker's sum
// of the setup program alone, or 0: they have no sum for the package, and
// that is no fault.
#pragma once

#include <cstdint>

#include "package/package_loader.h"

enum class PackageSum : std::uint8_t {
  kWholeFile = 1,     // the field is the sum of the file as it is
  kUnsignedFile = 2,  // the sum of the file before it was signed
  kNone = 3,          // 0, or the sum of the setup program alone
  kBroken = 4,        // none of these: the file is damaged
  kRecordBroken = 5,  // the integrity record does not match the package: damaged
};

// A filled integrity record (integrity_record.h) must hold as well as the
// sum. Reads the whole file once. `program_end` is where the setup program ends
// (the skin archive's offset, record 1). A failed read ends in AbortError
// after its line, as every read of PackageFile does.
PackageSum CheckPackageSum(PackageFile& file, std::uint64_t program_end);
