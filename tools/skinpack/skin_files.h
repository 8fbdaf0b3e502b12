// Where a skin's pictures come from: a folder, a header file, the default
// skin built into the library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SkinFile {
  std::string name;    // the picture's name: the file name without ".png"
  std::string origin;  // for messages: the path, or where in the default skin
  std::vector<std::uint8_t> bytes;
};

// Every regular file ending in ".png" (any case), sorted by name. Throws
// SkinPackError when the folder or one of those files cannot be read.
std::vector<SkinFile> ReadSkinFolder(const std::string& folder);
// The file at `path` as the picture "insthead".
SkinFile ReadHeaderPicture(const std::string& path);
std::vector<SkinFile> DefaultSkinFiles();

// `base` without the pictures that `overrides` name (case ignored), followed
// by `overrides`.
std::vector<SkinFile> Overlay(std::vector<SkinFile> base, std::vector<SkinFile> overrides);
