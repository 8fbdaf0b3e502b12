// Reads the package directory of a setup executable from its file: the
// running setup's own package, or the setup copy an earlier install left.
#pragma once

#include <cstdint>

#include "fs/file_stream.h"
#include "package/package_directory.h"
#include "package/package_loader.h"

// The package reader's random access, through the program's file stream and
// so with its error lines.
class StreamPackageFile final : public PackageFile {
 public:
  explicit StreamPackageFile(FileStream& stream) : stream_(stream) {}
  std::uint64_t Size() override { return stream_.Size(); }
  void ReadAt(std::uint64_t offset, void* buffer, std::size_t n) override {
    stream_.Seek(offset);
    stream_.Read(buffer, n);
  }

 private:
  FileStream& stream_;
};

// True when the whole directory was read; false after one logged line
// (the file's open, size, seek or read error, the invalid package line, or
// why the package was refused). What was read before a failure stays.
bool ReadPackage(PackageDirectory& package, const char* path);

// Whether the setup file open in `stream` is whole: its integrity record
// and its PE CheckSum hold over the file (signed or as built), or it carries
// neither for the package (an older setup). Reads the whole file; read failures end in AbortError
// after their line. `program_end` is record 1's stream offset.
bool PackageSumHolds(FileStream& stream, std::uint64_t program_end);
// PackageSumHolds on the file at `path`, opened for the check.
bool PackageIsWhole(const char* path, std::uint64_t program_end);
