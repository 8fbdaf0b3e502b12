#include "setup_file.h"

#include <cerrno>
#include <cstring>

#include "abort_reason.h"
#include "log/logger.h"
#include "pack_error.h"

namespace {

// The setup's line for a read that ends short, which the package reader
// writes too when the trailer points outside the file.
constexpr char kShortReadLine[] = "Error reading file: %s";

}  // namespace

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
  if (std::fread(buffer, 1, n, file_) != n) {
    if (std::ferror(file_)) throw PackError("cannot read " + path_ + ": " + std::strerror(errno));
    Fail(kShortReadLine);
  }
}

void SetupFile::Seek(std::uint64_t offset) {
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) Fail("Error positioning cursor in file: %s");
}

std::size_t SetupFile::ReadUpTo(void* destination, std::size_t n) {
  std::size_t count = std::fread(destination, 1, n, file_);
  if (count < n && std::ferror(file_)) throw PackError("cannot read " + path_ + ": " + std::strerror(errno));
  return count;
}

PackageDirectory ReadSetupDirectory(SetupFile& setup) {
  AbortReason reason;
  PackageDirectory package;
  try {
    LoadPackageDirectory(setup, setup.Path().c_str(), package);
  } catch (const AbortError&) {
    std::string line = reason.Take("the package cannot be read");
    // A read that ends short while looking for the package means the file
    // ends before the data its trailer promises, or has no trailer at all.
    if (line == "Error reading file: " + setup.Path()) {
      throw PackError(setup.Path() + ": truncated, or not a Tarnell setup (the package directory lies beyond its end)");
    }
    if (line == "Invalid Tarnell software package.") {
      throw PackError(setup.Path() + ": " + line + " Not a Tarnell setup, or its package directory is damaged.");
    }
    throw PackError(line);
  }
  return package;
}
