#include "test_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "folder_listing.h"

namespace {

void RemoveTree(const std::string& path) {
  for (const FolderEntry& entry : EntriesMatching(path + "\\*")) {
    std::string child = path + "\\" + entry.name;
    SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (entry.IsFolder()) {
      RemoveTree(child);
    } else {
      DeleteFileA(child.c_str());
    }
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

TestFolder::TestFolder() {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH + 1];
  GetTempPathA(sizeof temp, temp);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::ostringstream name;
  name << temp << "tarnell-test-" << GetCurrentProcessId() << "-" << counter++;
  if (info != nullptr) name << "-" << info->name();
  path_ = name.str();
  RemoveTree(path_);
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
}

TestFolder::~TestFolder() { RemoveTree(path_); }

void WriteTestFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string ReadTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
