#include "setup_file.h"

#include <cerrno>
#include <cstring>

#include "abort_reason.h"
#include "log/logger.h"
#include "pack_error.h"

SetupFile::SetupFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "rb")) {
  if (file_ == nullptr) throw PackError("cannot open " + path + ": " + std::strerror(errno));
}

SetupFile::~SetupFile() { std::fclose(file_); }

void SetupFile::Fail(const char* pattern) { LogErrorWith(pattern, path_.c_str()); }

std::uint64_t SetupFile::Size() {
  if (fseeko(file_, 0, SEEK_END) != 0) Fail("Error getting filesize of: %s");
  off_t size = ftello(file_);
  if (size < 0) Fail("Error getting filesize of: %s");
  return static_cast<std::uint64_t>(size);
}

void SetupFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) {
  Seek(offset);
  if (std::fread(buffer, 1, n, file_) != n) Fail("Error reading file: %s");
}

void SetupFile::Seek(std::uint64_t offset) {
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) Fail("Error positioning cursor in file: %s");
}

std::size_t SetupFile::ReadUpTo(void* destination, std::size_t n) {
  std::size_t count = std::fread(destination, 1, n, file_);
  if (count < n && std::ferror(file_)) Fail("Error reading file: %s");
  return count;
}

PackageDirectory ReadSetupDirectory(SetupFile& setup) {
  AbortReason reason;
  PackageDirectory package;
  try {
    LoadPackageDirectory(setup, setup.Path().c_str(), package);
  } catch (const AbortError&) {
    throw PackError(reason.Take("the package cannot be read"));
  }
  return package;
}
