#include "fs/file_stream.h"

#include "fs/links.h"
#include "fs/machine_calls.h"
#include "fs/own_image.h"
#include "log/logger.h"

namespace {

// A single system call moves at most this much; larger requests are looped.
constexpr DWORD kMaxTransfer = 0x40000000;

}  // namespace

void FileStream::SetPath(const char* path) { path_cut_ = !path_.Assign(path); }

void FileStream::Open(Mode mode) {
  Close();
  position_ = 0;
  if (path_cut_) Fail("Error opening file: %s");
  HANDLE handle;
  if (mode == Mode::kRead && IsOwnImage(path_.c_str())) {
    // The setup's own file is read through the handle held since start.
    handle = ReopenOwnImage();
  } else if (mode == Mode::kRead) {
    handle = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  } else {
    // A link or a second name of another file would take the write there.
    if (!UnlinkIfLeadingElsewhere(path_.c_str())) Fail("Error opening file: %s");
    // A read-only, hidden or system file would refuse CREATE_ALWAYS.
    if (mode == Mode::kCreate) Machine().set_file_attributes(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    handle = Machine().create_file(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   mode == Mode::kCreate ? CREATE_ALWAYS : CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  }
  if (handle == INVALID_HANDLE_VALUE) Fail("Error opening file: %s");
  handle_.Reset(handle);
  if (mode != Mode::kRead && !HandleIsAt(handle, path_.c_str())) Fail("Error opening file: %s");
}

void FileStream::Close() { handle_.Reset(); }

void FileStream::Fail(const char* pattern) {
  Close();
  LogErrorWith(pattern, path_.c_str());
}

void FileStream::Read(void* buffer, std::size_t n) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    DWORD want = n - done > kMaxTransfer ? kMaxTransfer : static_cast<DWORD>(n - done);
    DWORD got = 0;
    if (!handle_ || !ReadFile(handle_.Get(), bytes + done, want, &got, nullptr) || got == 0) {
      Fail("Error reading file: %s");
    }
    done += got;
  }
  position_ += n;
}

std::size_t FileStream::ReadUpTo(void* buffer, std::size_t n) {
  DWORD want = n > kMaxTransfer ? kMaxTransfer : static_cast<DWORD>(n);
  DWORD got = 0;
  if (!handle_ || !ReadFile(handle_.Get(), buffer, want, &got, nullptr)) Fail("Error reading file: %s");
  position_ += got;
  return got;
}

void FileStream::Seek(std::uint64_t target) {
  if (target == position_) return;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(target);
  if (!handle_ || !SetFilePointerEx(handle_.Get(), at, nullptr, FILE_BEGIN)) {
    Fail("Error positioning cursor in file: %s");
  }
  position_ = target;
}

void FileStream::Write(const void* buffer, std::size_t n) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    DWORD want = n - done > kMaxTransfer ? kMaxTransfer : static_cast<DWORD>(n - done);
    DWORD written = 0;
    if (!handle_ || !Machine().write_file(handle_.Get(), bytes + done, want, &written, nullptr) || written != want) {
      Fail("Error writing to file: %s");
    }
    done += written;
  }
  position_ += n;
}

void FileStream::Flush() {
  if (!handle_ || !FlushFileBuffers(handle_.Get())) Fail("Error writing to file: %s");
}

std::uint64_t FileStream::Size() {
  if (!handle_) return 0;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle_.Get(), &size)) Fail("Error getting filesize of: %s");
  return static_cast<std::uint64_t>(size.QuadPart);
}

FILETIME FileStream::GetTime() {
  FILETIME time{};
  if (handle_ && !GetFileTime(handle_.Get(), nullptr, nullptr, &time)) Fail("Error getting filetime of: %s");
  return time;
}

void FileStream::SetTime(const FILETIME& time) {
  if (handle_ && Machine().set_file_time(handle_.Get(), nullptr, nullptr, &time)) return;
  // Error 29 (write fault) comes from file systems that keep no times.
  if (handle_ && GetLastError() == ERROR_WRITE_FAULT) return;
  Fail("Error setting file time for: %s");
}
