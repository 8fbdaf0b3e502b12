#include "source_tree.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "pack_error.h"

namespace fs = std::filesystem;

bool Excluded(const std::string& relative, const std::vector<std::string>& patterns) {
  std::string name = relative.substr(relative.rfind('/') + 1);
  for (const std::string& pattern : patterns) {
    bool whole_path = pattern.find('/') != std::string::npos;
    if (fnmatch(pattern.c_str(), (whole_path ? relative : name).c_str(), 0) == 0) return true;
  }
  return false;
}

std::vector<TreeFile> ListSourceTree(const std::string& root, const std::vector<std::string>& exclude,
                                     bool follow_links) {
  std::vector<TreeFile> files;
  std::error_code error;
  auto options = follow_links ? fs::directory_options::follow_directory_symlink : fs::directory_options::none;
  fs::recursive_directory_iterator it(root, options, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    const fs::directory_entry& entry = *it;
    std::string relative = entry.path().lexically_relative(root).generic_string();
    if (entry.is_symlink(error) && !follow_links) {
      throw PackError(relative +
                      " is a symbolic link; it is not packed as the file it points to unless the "
                      "folder says follow_links = true");
    }
    if (entry.is_directory(error)) {
      if (Excluded(relative, exclude)) it.disable_recursion_pending();
      continue;
    }
    if (!entry.is_regular_file(error)) {
      if (error) break;
      throw PackError(relative + " is neither a file nor a folder");
    }
    if (!Excluded(relative, exclude)) files.push_back({entry.path().string(), relative});
  }
  if (error) throw PackError("cannot read the folder " + root + ": " + error.message());
  std::sort(files.begin(), files.end(), [](const TreeFile& a, const TreeFile& b) { return a.relative < b.relative; });
  return files;
}
