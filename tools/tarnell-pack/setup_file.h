// A setup executable opened for reading by the builder's commands: random
// access for the package reader, sequential reads for the decoder. Read
// failures are reported as the setup reports them: a line through LogError,
// which raises AbortError (see abort_reason.h).
#pragma once

#include <cstdio>
#include <string>

#include "inflate/byte_source.h"
#include "package/package_directory.h"
#include "package/package_loader.h"

class SetupFile final : public PackageFile, public ByteSource {
 public:
  explicit SetupFile(const std::string& path);  // PackError when it cannot be opened
  ~SetupFile();
  SetupFile(const SetupFile&) = delete;
  SetupFile& operator=(const SetupFile&) = delete;

  std::uint64_t Size() override;
  void ReadAt(std::uint64_t offset, void* buffer, std::size_t n) override;
  // Sequential reads start where the last Seek put them.
  void Seek(std::uint64_t offset);
  std::size_t ReadUpTo(void* destination, std::size_t n) override;

  const std::string& Path() const { return path_; }

 private:
  [[noreturn]] void Fail(const char* pattern);

  std::string path_;
  std::FILE* file_;
};

// The package directory of the setup, checked as the setup checks it;
// PackError with the setup's own line otherwise.
PackageDirectory ReadSetupDirectory(SetupFile& setup);
