// Paths of a large package that cannot stand together: two that name one file
// on Windows, or a file that another path needs as its folder. Found by
// sorting, so a hundred thousand paths take moments, not hours.
#pragma once

#include "package/file_list.h"

// The first clash among records 2 onwards as the numbers of its two records
// (the folder's file first for a folder clash), or {0, 0} when there is none.
struct PathClash {
  std::size_t first = 0;
  std::size_t second = 0;
  bool folder = false;  // `first` is a file that `second` needs as a folder
};
PathClash FindPathClash(const FileList& files);
