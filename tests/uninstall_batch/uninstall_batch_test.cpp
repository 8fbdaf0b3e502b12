// Guards the self-deleting uninstall batch: its exact text, paths that cmd
// would split, and a real run that removes the setup copy, its folder and
// the emptied publisher folder but nothing that still holds something, and
// runs no cmd.bat of the user's and no AutoRun command on the way.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <set>
#include <string>

#include "folder_listing.h"
#include "fs/file_operations.h"
#include "registry_values.h"
#include "system/uninstall_batch.h"
#include "system/uninstall_batch_text.h"
#include "test_folder.h"

TEST(UninstallBatchText, ExactTextForPlainPaths) {
  EXPECT_EQ(UninstallBatchText("C:\\Programs\\Tarnell\\Foo_Setup.exe", "", "C:\\Windows\\system32\\cmd.exe"),
            ":Repeat\r\n"
            "Del C:\\Programs\\Tarnell\\Foo_Setup.exe \r\n"
            "if exist C:\\Programs\\Tarnell\\Foo_Setup.exe goto Repeat\r\n"
            "rmdir C:\\Programs\\Tarnell\r\n"
            "rmdir C:\\Programs\r\n"
            "del %0");
  // Directly below the root: the root itself is never named. The batch's own
  // folder goes by its full path, through the system's cmd.exe, never one
  // that the working folder or PATH would find first.
  EXPECT_EQ(UninstallBatchText("C:\\Tarnell\\Foo_Setup.exe", "C:\\Windows\\Temp\\tarnell-1f",
                               "C:\\Windows\\system32\\cmd.exe"),
            ":Repeat\r\nDel C:\\Tarnell\\Foo_Setup.exe \r\nif exist C:\\Tarnell\\Foo_Setup.exe goto Repeat\r\n"
            "rmdir C:\\Tarnell\r\ndel %0 & start \"\" /b C:\\Windows\\system32\\cmd.exe /d /c \"for /l %%i in "
            "(1,1,500) do @if exist C:\\Windows\\Temp\\tarnell-1f rmdir C:\\Windows\\Temp\\tarnell-1f 2>nul\"");
}

TEST(UninstallBatchText, QuotesWhatCmdWouldSplitOrExpand) {
  EXPECT_EQ(UninstallBatchText("C:\\Program Files\\A&B\\100%\\Foo_Setup.exe", "", "C:\\Windows\\system32\\cmd.exe"),
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
  // What another process of the user can plant: a cmd.bat in the temporary
  // folder, the old working folder, and an AutoRun command for every cmd.
  std::string planted = root / "planted-ran.txt";
  WriteTestFile(temp + "\\cmd.bat", "echo cmd.bat > \"" + planted + "\"\r\n");
  const char processor[] = "Software\\Microsoft\\Command Processor";
  std::optional<RegistryValue> users_autorun = ReadRegistryValue(HKEY_CURRENT_USER, processor, "AutoRun");
  SetRegistryText(HKEY_CURRENT_USER, processor, "AutoRun", "echo autorun >> \"" + planted + "\"");

  SetCurrentDirectoryA(temp.c_str());
  bool started = WriteUninstallBatch(copy.c_str(), temp.c_str());
  EXPECT_TRUE(started);
  EXPECT_TRUE(started && Vanishes(product));
  EXPECT_TRUE(PathExists((publisher + "\\Other\\other.exe").c_str()));

  // The batch and its private folder go last.
  bool temp_emptied = false;
  for (int i = 0; i < 100 && !temp_emptied; ++i, Sleep(100)) {
    std::vector<std::string> left = NamesIn(temp);
    temp_emptied = left.empty() || left == std::vector<std::string>{"cmd.bat"};
  }
  RestoreRegistryValue(HKEY_CURRENT_USER, processor, "AutoRun", users_autorun);
  SetCurrentDirectoryA(root.Path().c_str());
  DeleteFileA((temp + "\\cmd.bat").c_str());
  EXPECT_TRUE(temp_emptied);
  EXPECT_FALSE(PathExists(planted.c_str())) << ReadTestFile(planted);
}

TEST(UninstallBatch, PrivateFolderLiesUnderTheWindowsTemp) {
  char windows[MAX_PATH];
  ASSERT_GT(GetSystemWindowsDirectoryA(windows, MAX_PATH), 0u);
  std::string parent = std::string(windows) + "\\Temp";
  CreateDirectoryA(parent.c_str(), nullptr);
  auto private_folders = [&] {
    std::set<std::string> names;
    for (const FolderEntry& entry : EntriesMatching(parent + "\\tarnell-*")) names.insert(entry.name);
    return names;
  };
  std::set<std::string> before = private_folders();

  TestFolder root;
  std::string copy = root / "Product\\Hello_Setup.exe";
  CreateDirectoryA((root / "Product").c_str(), nullptr);
  WriteTestFile(copy, "MZ");
  ASSERT_TRUE(WriteUninstallBatch(copy.c_str()));
  std::set<std::string> during = private_folders();
  EXPECT_TRUE(Vanishes(root / "Product"));
  // The new folder appeared there and goes again with the batch.
  EXPECT_TRUE(during.size() == before.size() + 1 || private_folders() == before);
  for (int i = 0; i < 100 && private_folders() != before; ++i) Sleep(100);
  EXPECT_EQ(private_folders(), before);
}
