// Reads the package directory of a setup executable from its file: the
// running setup's own package, or the setup copy an earlier install left.
#pragma once

#include <cstdint>

#include "fs/file_stream.h"
#include "package/package_directory.h"

// True when the whole directory was read; false after one logged line
// (the file's open, size, seek or read error, the invalid package line, or
// why the package was refused). What was read before a failure stays.
bool ReadPackage(PackageDirectory& package, const char* path);

// Whether the setup file open in `stream` is whole: its PE CheckSum holds
// over the file (signed or as built), or it carries no sum for the package
// (an older setup). Reads the whole file; read failures end in AbortError
// after their line. `program_end` is record 1's stream offset.
bool PackageSumHolds(FileStream& stream, std::uint64_t program_end);
