#include "package/read_package.h"

#include "fs/file_stream.h"
#include "log/abort_error.h"
#include "package/package_loader.h"
#include "package/package_sum.h"

namespace {

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

}  // namespace

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
  return CheckPackageSum(file, program_end) != PackageSum::kBroken;
}
