// libFuzzer target: a whole setup file, read as the setup reads it (PE
// headers, trailer, directory with every check, the integrity record's
// resource walk). Any input must end in a
// package or in one logged line, never in a read past a buffer.
#include <cstddef>
#include <cstdint>

#include "log/logger.h"
#include "package/integrity_record.h"
#include "package/package_directory.h"
#include "package/package_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static PackageDirectory package;
  MemoryPackageFile file(data, size, "fuzz.exe");
  try {
    FindIntegrityRecord(file);
    LoadPackageDirectory(file, "fuzz.exe", package);
  } catch (const AbortError&) {
  }
  return 0;
}
