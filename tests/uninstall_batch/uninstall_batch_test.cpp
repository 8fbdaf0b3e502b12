// Guards the self-deleting uninstall batch: its exact text, paths that cmd
// would split, and a real run that removes the setup copy, its folder and
// the emptied publisher folder but nothing that still holds something.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "fs/file_operations.h"
#include "system/uninstall_batch.h"
#include "system/uninstall_batch_text.h"
#include "test_folder.h"

TEST(UninstallBatchText, ExactTextForPlainPaths) {
  EXPECT_EQ(UninstallBatchText("C:\\Programs\\Tarnell\\Foo_Setup.exe", ""),
            ":Repeat\r\n"
            "Del C:\\Programs\\Tarnell\\Foo_Setup.exe \r\n"
            "if exist C:\\Programs\\Tarnell\\Foo_Setup.exe goto Repeat\r\n"
            "rmdir C:\\Programs\\Tarnell\r\n"
            "rmdir C:\\Programs\r\n"
            "del %0");
  // Directly below the root: the root itself is never named.
  EXPECT_EQ(UninstallBatchText("C:\\Tarnell\\Foo_Setup.exe", "tarnell-1f"),
            ":Repeat\r\nDel C:\\Tarnell\\Foo_Setup.exe \r\nif exist C:\\Tarnell\\Foo_Setup.exe goto Repeat\r\n"
            "rmdir C:\\Tarnell\r\ndel %0 & start \"\" /b cmd /c \"for /l %%i in (1,1,500) do @if exist tarnell-1f "
            "rmdir tarnell-1f 2>nul\"");
}

TEST(UninstallBatchText, QuotesWhatCmdWouldSplitOrExpand) {
  EXPECT_EQ(UninstallBatchText("C:\\Program Files\\A&B\\100%\\Foo_Setup.exe", ""),
            ":Repeat\r\n"
            "Del \"C:\\Program Files\\A&B\\100%%\\Foo_Setup.exe\" \r\n"
            "if exist \"C:\\Program Files\\A&B\\100%%\\Foo_Setup.exe\" goto Repeat\r\n"
            "rmdir \"C:\\Program Files\\A&B\\100%%\"\r\n"
            "rmdir \"C:\\Program Files\\A&B\"\r\n"
            "rmdir \"C:\\Program Files\"\r\n"
            "del %0");
}

namespace {

// Waits up to 30 s for the path to disappear.
bool Vanishes(const std::string& path) {
  for (int i = 0; i < 300; ++i) {
    if (!PathExists(path.c_str())) return true;
    Sleep(100);
  }
  return false;
}

}  // namespace

TEST(UninstallBatch, RemovesTheCopyAndEmptiedFoldersAndItself) {
  TestFolder root;
  // Two products of the publisher; the batch removes one of them.
  std::string publisher = root / "Program Files\\Tarnell";
  std::string product = publisher + "\\Hello World";
  CreateFolderChain(product.c_str(), false);
  CreateFolderChain((publisher + "\\Other").c_str(), false);
  WriteTestFile(publisher + "\\Other\\other.exe", "x");
  std::string copy = product + "\\Hello_Setup.exe";
  WriteTestFile(copy, "MZ");

  std::string temp = root / "temp";
  CreateDirectoryA(temp.c_str(), nullptr);
  ASSERT_TRUE(WriteUninstallBatch(copy.c_str(), temp.c_str()));
  EXPECT_TRUE(Vanishes(product));
  EXPECT_TRUE(PathExists((publisher + "\\Other\\other.exe").c_str()));

  // The batch and its private folder go last.
  bool temp_emptied = false;
  for (int i = 0; i < 100 && !temp_emptied; ++i, Sleep(100)) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((temp + "\\*").c_str(), &data);
    int entries = 0;
    do {
      if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") ++entries;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    temp_emptied = entries == 0;
  }
  EXPECT_TRUE(temp_emptied);
}
