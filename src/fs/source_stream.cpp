#include "fs/source_stream.h"

#include <cstring>

void SourceStream::CreateOverFile(const char* path) {
  Close();
  kind_ = Kind::kFile;
  owned_.reset(new std::uint8_t[kFileBufferSize]);
  owned_size_ = kFileBufferSize;
  buffer_ = owned_.get();
  SetPath(path);
  Open(Mode::kRead);
  length_ = FileStream::ReadUpTo(owned_.get(), owned_size_);
  read_position_ = 0;
}

void SourceStream::CreateOverMemory(const std::uint8_t* bytes, std::size_t length, const char* name) {
  Close();
  kind_ = Kind::kMemory;
  buffer_ = bytes;
  length_ = length;
  read_position_ = 0;
  SetPath(name);
}

std::size_t SourceStream::ReadUpTo(void* destination, std::size_t n) {
  auto* out = static_cast<std::uint8_t*>(destination);
  std::size_t available = length_ - read_position_;
  if (available >= n) {
    if (n > 0) std::memcpy(out, buffer_ + read_position_, n);
    read_position_ += n;
    return n;
  }
  if (available > 0) std::memcpy(out, buffer_ + read_position_, available);
  std::size_t count = available;
  n -= available;
  read_position_ = length_;
  if (kind_ != Kind::kFile) return count;

  // A request larger than the buffer grows it, so it is served in one call.
  if (n > owned_size_) {
    owned_.reset(new std::uint8_t[n]);
    owned_size_ = n;
    buffer_ = owned_.get();
  }
  length_ = FileStream::ReadUpTo(owned_.get(), owned_size_);
  std::size_t take = n < length_ ? n : length_;
  if (take > 0) std::memcpy(out + count, buffer_, take);
  read_position_ = take;
  return count + take;
}

void SourceStream::Read(void* destination, std::size_t n) {
  if (ReadUpTo(destination, n) < n) Fail("Error reading file: %s");
}

void SourceStream::Seek(std::uint64_t target) {
  if (kind_ == Kind::kMemory) {
    if (target >= length_) Fail("Error positioning cursor in file: %s");
    read_position_ = static_cast<std::size_t>(target);
    return;
  }
  FileStream::Seek(target);
  read_position_ = length_;
}

void SourceStream::Close() {
  FileStream::Close();
  if (kind_ == Kind::kFile) {
    owned_.reset();
    owned_size_ = 0;
  }
  buffer_ = nullptr;
  length_ = 0;
  read_position_ = 0;
}
