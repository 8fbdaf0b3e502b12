// The files of a [[folder]] entry: every regular file below its source
// folder, in a fixed order so that the same tree always builds the same
// setup, without the ones its exclude patterns name.
#pragma once

#include <string>
#include <vector>

struct TreeFile {
  std::string path;      // as a path of this system
  std::string relative;  // below the source folder, parts joined by '/'
};

// An exclude pattern without '/' matches a file's name in any folder
// ("*.pdb"); one with '/' matches the whole relative path, '*' crossing
// folders ("tests/**", "bin/*.map").
bool Excluded(const std::string& relative, const std::vector<std::string>& patterns);

// The files below `root`, sorted by relative path. A symbolic link is packed
// as what it points to only with `follow_links`; otherwise PackError names
// it, as it does a special file or an unreadable folder.
std::vector<TreeFile> ListSourceTree(const std::string& root, const std::vector<std::string>& exclude,
                                     bool follow_links);
