#include "temporary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "pack_error.h"

TemporaryFile::TemporaryFile(const std::string& destination) : path_(destination + ".partial-XXXXXX") {
  descriptor_ = mkostemp(path_.data(), O_CLOEXEC);
  if (descriptor_ < 0) throw PackError("cannot create a file beside " + destination + ": " + std::strerror(errno));
}

TemporaryFile::~TemporaryFile() {
  if (descriptor_ >= 0) close(descriptor_);
  if (!kept_) unlink(path_.c_str());
}

void TemporaryFile::Append(const std::uint8_t* bytes, std::size_t n) {
  WriteAt(size_, bytes, n);
  size_ += n;
}

void TemporaryFile::WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t n) {
  while (n > 0) {
    ssize_t written = pwrite(descriptor_, bytes, n, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) throw PackError("cannot write " + path_ + ": " + std::strerror(errno));
    bytes += written;
    offset += static_cast<std::uint64_t>(written);
    n -= static_cast<std::size_t>(written);
  }
}

void TemporaryFile::ReadAt(std::uint64_t offset, std::uint8_t* bytes, std::size_t n) const {
  while (n > 0) {
    ssize_t got = pread(descriptor_, bytes, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0)
      throw PackError("cannot read back " + path_ + ": " + (got == 0 ? "it is shorter" : std::strerror(errno)));
    bytes += got;
    offset += static_cast<std::uint64_t>(got);
    n -= static_cast<std::size_t>(got);
  }
}

void TemporaryFile::TruncateTo(std::uint64_t size) {
  if (ftruncate(descriptor_, static_cast<off_t>(size)) != 0) {
    throw PackError("cannot shorten " + path_ + ": " + std::strerror(errno));
  }
  size_ = size;
}

void TemporaryFile::Finish(unsigned permissions, std::optional<timespec> modified) {
  mode_t mask = umask(0);
  umask(mask);
  bool done = fchmod(descriptor_, static_cast<mode_t>(permissions) & ~mask) == 0;
  if (done && modified) {
    timespec times[2] = {{0, UTIME_OMIT}, *modified};
    done = futimens(descriptor_, times) == 0;
  }
  done = done && fsync(descriptor_) == 0;
  int closed = close(descriptor_);
  descriptor_ = -1;
  if (!done || closed != 0) throw PackError("cannot finish " + path_ + ": " + std::strerror(errno));
}

void TemporaryFile::RenameTo(const std::string& destination) {
  if (rename(path_.c_str(), destination.c_str()) != 0) {
    throw PackError("cannot rename " + path_ + " to " + destination + ": " + std::strerror(errno));
  }
  kept_ = true;
}
