// The setup's own file: held from start so that it cannot be renamed or
// deleted, checked to be the image that runs, and read through that one
// file however its path is used. A file of the same bytes under the name is
// not the running image and is refused.
#include "fs/own_image.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "capture_logger.h"
#include "fs/file_stream.h"
#include "test_folder.h"

namespace {

std::string ModulePath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// The first two bytes through the program's file stream, or "" on failure.
std::string FirstBytes(const std::string& path) {
  CaptureLogger log;
  FileStream stream;
  stream.SetPath(path.c_str());
  char bytes[3] = "";
  try {
    stream.Open(FileStream::Mode::kRead);
    stream.Read(bytes, 2);
  } catch (const AbortError&) {
    return "";
  }
  return bytes;
}

}  // namespace

TEST(OwnImage, TheRunningFileIsHeldAgainstRenameAndDelete) {
  std::string module = ModulePath();
  ASSERT_TRUE(HoldOwnImage(module.c_str()));
  EXPECT_TRUE(IsOwnImage(module.c_str()));
  std::string moved = module + ".moved";
  EXPECT_FALSE(MoveFileA(module.c_str(), moved.c_str()));
  if (GetFileAttributesA(moved.c_str()) != INVALID_FILE_ATTRIBUTES) MoveFileA(moved.c_str(), module.c_str());
  EXPECT_FALSE(DeleteFileA(module.c_str()));
  // Every read of the path goes to the held file, each with its own position.
  EXPECT_EQ(FirstBytes(module), "MZ");
  EXPECT_EQ(FirstBytes(module), "MZ");
}

TEST(OwnImage, AnotherFileUnderTheNameIsRefused) {
  TestFolder folder;
  // The same bytes, another file: what a swap after elevation would leave.
  std::string copy = folder / "setup.exe";
  ASSERT_TRUE(CopyFileA(ModulePath().c_str(), copy.c_str(), FALSE));
  EXPECT_FALSE(HoldOwnImage(copy.c_str()));
  EXPECT_TRUE(IsOwnImage(copy.c_str()));
  EXPECT_EQ(FirstBytes(copy), "");
  // Other files are read by their paths as ever.
  WriteTestFile(folder / "other.txt", "OK");
  EXPECT_FALSE(IsOwnImage((folder / "other.txt").c_str()));
  EXPECT_EQ(FirstBytes(folder / "other.txt"), "OK");
}
