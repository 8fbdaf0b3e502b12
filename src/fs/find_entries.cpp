#include "fs/find_entries.h"

#include <cstring>

#include "text/fixed_text.h"
#include "text/path.h"

namespace {

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

FindEntries::Result FindEntries::FirstInFolder(const char* folder) {
  if (folder[0] == '\0') return kEmpty;
  Text pattern;
  if (!PathJoin(pattern, folder, "*")) return kCannotStart;
  return First(pattern.c_str());
}

FindEntries::Result FindEntries::First(const char* pattern) {
  Close();
  handle_.Reset(FindFirstFileA(pattern, &data_));
  if (!handle_) return kCannotStart;
  return SkipDots() ? kEntry : kEmpty;
}

bool FindEntries::Next() {
  if (!handle_) return false;
  if (!FindNextFileA(handle_.Get(), &data_)) {
    Close();
    return false;
  }
  return SkipDots();
}

bool FindEntries::SkipDots() {
  while (IsDotEntry(data_.cFileName)) {
    if (!FindNextFileA(handle_.Get(), &data_)) {
      Close();
      return false;
    }
  }
  return true;
}

void FindEntries::Close() { handle_.Reset(); }
