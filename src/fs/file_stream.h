// FileStream: the program's unbuffered file object. Every failure closes the
// stream and is reported through the current logger's LogError with the
// file's path, which raises AbortError: a caller's code continues only on
// success.
//
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-createfilea
#pragma once

#include <windows.h>

#include "handles/owned_handle.h"

#include <cstddef>
#include <cstdint>

#include "text/fixed_text.h"

class FileStream {
 public:
  enum class Mode : std::uint8_t {
    kRead = 0,       // read; others may read and write; the file must exist
    kCreate = 1,     // write; others may read; created or truncated
    kCreateNew = 2,  // write; others may read; fails when the name is taken
  };

  FileStream() = default;
  virtual ~FileStream() { FileStream::Close(); }
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  // The path that Open uses and error lines quote. A path too long for a
  // system path is kept cut for the message, and Open then fails.
  void SetPath(const char* path);
  const char* Path() const { return path_.c_str(); }

  void Open(Mode mode);
  virtual void Close();
  // Closes the stream, then reports `pattern` with "%s" as the path.
  [[noreturn]] void Fail(const char* pattern);

  // Reads exactly n bytes.
  virtual void Read(void* buffer, std::size_t n);
  // One system read of at most n bytes; 0 means the end of the file.
  std::size_t ReadUpTo(void* buffer, std::size_t n);
  // Sets the position from the file's start; no system call when unchanged.
  virtual void Seek(std::uint64_t target);
  void Write(const void* buffer, std::size_t n);
  // Makes what was written durable before anything refers to it.
  void Flush();

  std::uint64_t Size();
  // The last-write time; zero for a closed stream.
  FILETIME GetTime();
  // Sets the last-write time only.
  void SetTime(const FILETIME& time);

  bool IsOpen() const { return static_cast<bool>(handle_); }
  HANDLE Handle() const { return handle_.Get(); }
  std::uint64_t Position() const { return position_; }

 protected:
  KernelHandle handle_;
  std::uint64_t position_ = 0;

 private:
  SystemPath path_;
  bool path_cut_ = false;
};
