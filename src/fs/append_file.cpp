#include "fs/append_file.h"

#include <utility>

#include "fs/links.h"

AppendFile::OpenResult AppendFile::Open(const char* path, std::uint64_t size_limit) {
  Close();
  // The log lies in %TEMP%: a link or a second name planted there would take
  // the elevated writes to another file.
  // So would a folder on the way that is such a link, now or swapped in
  // before the open.
  if (!UntrustedLinkOn(path).empty() || !UnlinkIfLeadingElsewhere(path)) return OpenResult::kCannotOpen;
  KernelHandle handle(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle || !HandleIsAt(handle.Get(), path)) return OpenResult::kCannotOpen;
  LARGE_INTEGER size;
  LARGE_INTEGER zero{};
  if (!GetFileSizeEx(handle.Get(), &size) || static_cast<std::uint64_t>(size.QuadPart) >= size_limit ||
      !SetFilePointerEx(handle.Get(), zero, nullptr, FILE_END)) {
    return OpenResult::kFull;
  }
  handle_ = std::move(handle);
  return OpenResult::kOpened;
}

void AppendFile::Close() { handle_.Reset(); }

void AppendFile::Write(const void* bytes, std::size_t n) {
  if (!handle_) return;
  DWORD written = 0;
  WriteFile(handle_.Get(), bytes, static_cast<DWORD>(n), &written, nullptr);
}
