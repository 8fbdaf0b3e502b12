// AppendFile: a file opened for appending and shared for reading, written
// unbuffered, whose failures are never reported: the setup log itself. It
// cannot go through FileStream, whose failures are reported to the log.
#pragma once

#include <windows.h>

#include "handles/owned_handle.h"

#include <cstddef>
#include <cstdint>

class AppendFile {
 public:
  enum class OpenResult { kOpened, kCannotOpen, kFull };

  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens or creates `path` and moves to its end. A file already holding
  // `size_limit` bytes or more, or one whose end cannot be reached, is closed
  // again and reported as kFull.
  OpenResult Open(const char* path, std::uint64_t size_limit);
  void Close();
  bool IsOpen() const { return static_cast<bool>(handle_); }
  // One system write; its result is deliberately not examined.
  void Write(const void* bytes, std::size_t n);

 private:
  KernelHandle handle_;
};
