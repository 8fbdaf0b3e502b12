// FindEntries: iterates the entries of a folder, "." and ".." left out.
//
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-findfirstfilea
#pragma once

#include <windows.h>

#include "handles/owned_handle.h"

class FindEntries {
 public:
  enum Result { kCannotStart = 0, kEmpty = 1, kEntry = 2 };

  FindEntries() = default;
  ~FindEntries() { Close(); }
  FindEntries(const FindEntries&) = delete;
  FindEntries& operator=(const FindEntries&) = delete;

  // Searches "<folder>\*". An empty folder text returns kEmpty unsearched.
  Result FirstInFolder(const char* folder);
  // kCannotStart when the search cannot start (no such folder, no access),
  // kEmpty when nothing but "." and ".." is there, kEntry when one is current.
  Result First(const char* pattern);
  // Moves to the next entry; false (and closed) when there is none.
  bool Next();
  void Close();

  const char* Name() const { return data_.cFileName; }
  bool IsFolder() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

 private:
  bool SkipDots();

  FindHandle handle_;
  WIN32_FIND_DATAA data_{};
};
