#include "package/read_package.h"

#include "fs/file_stream.h"
#include "log/abort_error.h"
#include "package/package_sum.h"

bool ReadPackage(PackageDirectory& package, const char* path) {
  FileStream stream;
  stream.SetPath(path);
  try {
    stream.Open(FileStream::Mode::kRead);
    StreamPackageFile file(stream);
    LoadPackageDirectory(file, stream.Path(), package);
  } catch (const AbortError&) {
    return false;
  }
  return true;
}

bool PackageSumHolds(FileStream& stream, std::uint64_t program_end) {
  StreamPackageFile file(stream);
  PackageSum sum = CheckPackageSum(file, program_end);
  return sum != PackageSum::kBroken && sum != PackageSum::kRecordBroken;
}

bool PackageIsWhole(const char* path, std::uint64_t program_end) {
  FileStream stream;
  stream.SetPath(path);
  stream.Open(FileStream::Mode::kRead);
  return PackageSumHolds(stream, program_end);
}
