#include "output_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "pack_error.h"

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  // Device and inode: a second name, a hard link or a symbolic link of a
  // file is that file.
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

void CheckOutput(const std::string& output, const std::vector<BuildInput>& inputs) {
  struct stat existing {};
  if (stat(output.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) throw PackError("the output " + output + " is a folder");
    for (const BuildInput& input : inputs) {
      if (SameFile(input.path, output)) {
        throw PackError("the output " + output + " is " + input.role + " (" + input.path +
                        "); the build would replace its own input");
      }
    }
  }
  std::filesystem::path parent = std::filesystem::path(output).parent_path();
  const std::string folder = parent.empty() ? std::string(".") : parent.string();
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0) {
    throw PackError("the output's folder " + folder + " cannot be used: " + std::strerror(errno));
  }
  if (!S_ISDIR(status.st_mode)) throw PackError("the output's folder " + folder + " is not a folder");
  if (access(folder.c_str(), W_OK | X_OK) != 0) {
    throw PackError("the output's folder " + folder + " takes no new files: " + std::strerror(errno));
  }
}
