// What `build` checks about its output before it compresses anything: that
// writing it cannot replace one of the build's own inputs (the manifest, a
// source file, the stub, a skin picture, through any name or link of theirs),
// and that its folder exists and takes new files.
#pragma once

#include <string>
#include <vector>

struct BuildInput {
  std::string path;
  std::string role;  // "the manifest", "the stub", "file[2].source", ...
};

// PackError naming the input or the folder's fault.
void CheckOutput(const std::string& output, const std::vector<BuildInput>& inputs);

// Whether both paths name one existing file (device and inode).
bool SameFile(const std::string& a, const std::string& b);
