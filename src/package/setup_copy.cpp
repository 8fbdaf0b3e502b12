#include "package/setup_copy.h"

#include <algorithm>

#include "fs/file_replacement.h"
#include "package/directory_writer.h"

namespace {

constexpr std::size_t kCopyPiece = 8192;

// Exact reads: a setup that ends early would give a copy that cannot run.
void CopyBytes(SourceStream& from, FileStream& to, std::uint64_t count) {
  std::uint8_t buffer[kCopyPiece];
  while (count > 0) {
    std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, kCopyPiece));
    from.Read(buffer, n);
    to.Write(buffer, n);
    count -= n;
  }
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
    CopyBytes(package_stream, copy, package.header_offset);

    package_stream.Seek(std::uint64_t{package.header_offset} + kVersionRecordSize);
    package.version.patch = 0;
    package.version.check_word = PackageCheckWord(package.version);
    std::uint8_t version[kVersionRecordSize];
    EncodeVersion(package.version, version);
    copy.Write(version, sizeof version);

    std::uint64_t size = package_stream.Size();
    std::uint64_t rest = std::uint64_t{package.header_offset} + kVersionRecordSize;
    CopyBytes(package_stream, copy, size > rest ? size - rest : 0);
    copy.SetTime(time);
    CommitReplacement(copy, destination);
    return size;
  } catch (...) {
    DiscardReplacement(copy);
    throw;
  }
}
