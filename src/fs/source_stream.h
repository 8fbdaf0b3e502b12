// SourceStream: a read-only, buffered stream over a file or over a block of
// memory. It feeds the DEFLATE decoder (the package stream, read in 32 KiB
// blocks) and the PNG decoder (one skin picture in memory).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "fs/file_stream.h"
#include "inflate/byte_source.h"

class SourceStream final : public FileStream, public ByteSource {
 public:
  static constexpr std::size_t kFileBufferSize = 32768;

  // Opens `path` for reading and fills the buffer with its first block.
  void CreateOverFile(const char* path);
  // Reads from `bytes` (borrowed, not copied); `name` only serves error lines.
  void CreateOverMemory(const std::uint8_t* bytes, std::size_t length, const char* name);

  // Copies up to n bytes; fewer only at the end of the file or memory.
  std::size_t ReadUpTo(void* destination, std::size_t n) override;
  // Reads exactly n bytes.
  void Read(void* destination, std::size_t n) override;
  // File: moves the file position and drops the buffer. Memory: moves within
  // the block; a target at or past its end fails.
  void Seek(std::uint64_t target) override;
  void Close() override;
  ~SourceStream() override { SourceStream::Close(); }

 private:
  enum class Kind : std::uint8_t { kNone = 0, kMemory = 1, kFile = 2 };

  std::unique_ptr<std::uint8_t[]> owned_;  // the file kind's buffer
  std::size_t owned_size_ = 0;
  const std::uint8_t* buffer_ = nullptr;
  std::size_t length_ = 0;
  std::size_t read_position_ = 0;
  Kind kind_ = Kind::kNone;
};
