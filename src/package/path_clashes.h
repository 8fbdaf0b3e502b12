// Paths of a large package that cannot stand together: two that name one file
// or folder on Windows, through letter case or a short (8.3) name, or a file
// that another path needs as its folder. Found by sorting, so a hundred
// thousand paths take moments, not hours.
#pragma once

#include <cstdint>

#include "package/file_list.h"

enum class ClashKind : std::uint8_t {
  kOneFile,
  kFileAndFolder,  // `first` is a file that `second` needs as a folder
  // The first `first_length` and `second_length` characters of the two paths
  // name one folder, or a file by the other name of a folder.
  kOneFolder,
};

// The first clash among records 2 onwards as the numbers of its two records,
// or {0, 0} when there is none.
struct PathClash {
  std::size_t first = 0;
  std::size_t second = 0;
  ClashKind kind = ClashKind::kOneFile;
  bool short_name = false;  // a part of one path is the short name Windows may give the other's
  // The characters of each path that name what clashes; SIZE_MAX for all.
  std::size_t first_length = SIZE_MAX;
  std::size_t second_length = SIZE_MAX;
};
PathClash FindPathClash(const FileList& files);
