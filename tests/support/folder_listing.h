// What a folder holds, as the tests look at it after a run: one search loop
// for every test, on the handle family.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct FolderEntry {
  std::string name;
  DWORD attributes = 0;
  std::uint64_t size = 0;
  FILETIME written{};

  bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsLink() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// The entries that `pattern` matches ("C:\\Folder\\*", "C:\\Folder\\*.png"),
// without "." and "..", sorted by name; empty when there are none or the
// folder does not exist.
std::vector<FolderEntry> EntriesMatching(const std::string& pattern);

// The names of everything in `folder`, sorted.
std::vector<std::string> NamesIn(const std::string& folder);
