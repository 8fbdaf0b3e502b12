// The names typed for a new folder in the folder browser: a plain name makes
// one folder in the selected one; a name with separators, ".." parts or a
// drive is refused with a log line and makes nothing anywhere.
#include "folder_browser/folder_names.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "capture_logger.h"
#include "test_folder.h"

namespace {

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

TEST(FolderNames, NewFolderNamesLeadingElsewhereAreRefused) {
  TestFolder root;
  std::string selected = root / "Programs\\Tarnell";
  ASSERT_TRUE(CreateDirectoryA((root / "Programs").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(selected.c_str(), nullptr));
  const char* refused[] = {"..\\..\\Escaped", "..\\Escaped", "Sub\\..\\..\\Escaped", "..",        "...",
                           "Sub/Escaped",     "Sub\\Deeper", "C:\\Escaped",          "C:Escaped", "NUL"};
  for (const char* name : refused) {
    CaptureLogger logger;
    Text path;
    EXPECT_FALSE(MakeFolderIn(selected.c_str(), name, path)) << name;
    EXPECT_EQ(logger.lines, std::vector<std::string>{std::string("Directory NOT created: ") + name}) << name;
  }
  EXPECT_FALSE(IsFolder(root / "Escaped"));
  EXPECT_FALSE(IsFolder(root / "Programs\\Escaped"));
  EXPECT_FALSE(IsFolder(selected + "\\Sub"));

  CaptureLogger logger;
  Text path;
  ASSERT_TRUE(MakeFolderIn(selected.c_str(), "New Folder", path));
  EXPECT_EQ(std::string(path.c_str()), selected + "\\New Folder");
  EXPECT_TRUE(IsFolder(selected + "\\New Folder"));
  EXPECT_EQ(logger.lines, std::vector<std::string>{"Directory created: " + selected + "\\New Folder"});
}
