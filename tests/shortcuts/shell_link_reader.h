// Reads a .lnk file back the way Windows programs do, through the shell's
// link object (IShellLinkA and IPersistFile::Load). COM must be initialised
// on the calling thread.
#pragma once

#include <optional>
#include <string>

struct ShellLinkInfo {
  std::string target;  // as stored (SLGP_RAWPATH)
  std::string arguments;
  std::string working_folder;
  std::string icon_file;  // as stored; may be the short form of a path
  int icon_index = 0;
  std::string description;
};

// Nothing when the file is missing or not a link.
std::optional<ShellLinkInfo> ReadShellLink(const std::string& path);
