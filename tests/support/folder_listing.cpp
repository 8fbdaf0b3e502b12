#include "folder_listing.h"

#include <algorithm>

#include "handles/owned_handle.h"

std::vector<FolderEntry> EntriesMatching(const std::string& pattern) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA(pattern.c_str(), &data));
  for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.Get(), &data) != 0) {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entries.push_back({name, data.dwFileAttributes, size, data.ftLastWriteTime});
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : EntriesMatching(folder + "\\*")) names.push_back(entry.name);
  return names;
}
