#include "fs/append_file.h"

#include "fs/links.h"

AppendFile::OpenResult AppendFile::Open(const char* path, std::uint64_t size_limit) {
  Close();
  // The log lies in %TEMP%: a link or a second name planted there would take
  // the elevated writes to another file.
  if (!UnlinkIfLeadingElsewhere(path)) return OpenResult::kCannotOpen;
  HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return OpenResult::kCannotOpen;
  LARGE_INTEGER size;
  LARGE_INTEGER zero{};
  if (!GetFileSizeEx(handle, &size) || static_cast<std::uint64_t>(size.QuadPart) >= size_limit ||
      !SetFilePointerEx(handle, zero, nullptr, FILE_END)) {
    CloseHandle(handle);
    return OpenResult::kFull;
  }
  handle_ = handle;
  return OpenResult::kOpened;
}

void AppendFile::Close() {
  if (handle_ != nullptr) {
    CloseHandle(handle_);
    handle_ = nullptr;
  }
}

void AppendFile::Write(const void* bytes, std::size_t n) {
  if (handle_ == nullptr) return;
  DWORD written = 0;
  WriteFile(handle_, bytes, static_cast<DWORD>(n), &written, nullptr);
}
