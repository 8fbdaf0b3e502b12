// Guards the logged file-system operations: their results, and exactly which
// line each writes, against real files and folders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/file_operations.h"
#include "fs/machine_calls.h"
#include "hold_file_process.h"
#include "test_folder.h"

using Lines = std::vector<std::string>;

TEST(CreateFolderChain, CreatesMissingParentsAndLogsOnce) {
  CaptureLogger log;
  TestFolder folder;
  std::string deep = folder / "X\\Y\\Z";
  EXPECT_TRUE(CreateFolderChain(deep.c_str(), true));
  EXPECT_TRUE(PathExists(deep.c_str()));
  EXPECT_EQ(log.lines, Lines{"Directory created: " + deep});

  log.lines.clear();
  EXPECT_TRUE(CreateFolderChain(deep.c_str(), true));  // already there: nothing said
  EXPECT_TRUE(CreateFolderChain((folder / "quiet").c_str(), false));
  EXPECT_TRUE(log.lines.empty());
}

TEST(CreateFolderChain, AFileInTheWayFails) {
  CaptureLogger log;
  TestFolder folder;
  WriteTestFile(folder / "file", "x");
  std::string path = folder / "file\\sub";
  EXPECT_FALSE(CreateFolderChain(path.c_str(), false));
  EXPECT_EQ(log.lines, Lines{"Directory NOT created: " + path});
}

// Folder creation refused as a non-administrator meets it in Program Files.
DWORD RefuseFolders(MachineChange kind) { return kind == MachineChange::kFolder ? ERROR_ACCESS_DENIED : ERROR_SUCCESS; }

TEST(CreateFolderChain, AccessDeniedIsAFailureUnlessTheFolderIsThere) {
  CaptureLogger log;
  TestFolder folder;
  const std::string there = folder / "there";
  ASSERT_TRUE(CreateFolderChain(there.c_str(), false));
  const std::string missing = folder / "missing";
  const std::string deep = folder / "a\\b";
  SetMachineChangeGate(RefuseFolders);
  bool made_missing = CreateFolderChain(missing.c_str(), true);
  bool made_deep = CreateFolderChain(deep.c_str(), true);
  bool made_there = CreateFolderChain(there.c_str(), true);
  SetMachineChangeGate(nullptr);
  EXPECT_FALSE(made_missing);
  EXPECT_FALSE(made_deep);
  EXPECT_TRUE(made_there);
  EXPECT_EQ(log.lines, (Lines{"Directory NOT created: " + missing, "Directory NOT created: " + deep}));
}

TEST(DeleteFileLogged, ReportModes) {
  struct Case {
    DeleteReport report;
    bool logs_success;
    bool logs_failure;
  };
  const Case cases[] = {
      {DeleteReport::kSuccess, true, false},
      {DeleteReport::kBoth, true, true},
      {DeleteReport::kFailure, false, true},
      {DeleteReport::kSilent, false, false},
  };
  for (const Case& c : cases) {
    CaptureLogger log;
    TestFolder folder;
    std::string path = folder / "ro.txt";
    WriteTestFile(path, "x");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(DeleteFileLogged(folder.Path().c_str(), "ro.txt", c.report));
    EXPECT_FALSE(PathExists(path.c_str()));
    EXPECT_EQ(log.lines, c.logs_success ? Lines{"File deleted: " + path} : Lines{});

    // A missing file counts as deleted, silently, in every mode.
    log.lines.clear();
    EXPECT_TRUE(DeleteFileLogged(path.c_str(), c.report));
    EXPECT_TRUE(DeleteFileLogged((folder / "no\\such\\file").c_str(), c.report));
    EXPECT_TRUE(log.lines.empty());

    std::string locked = folder / "locked.exe";
    WriteTestFile(locked, "x");
    HeldFile held(locked);
    ASSERT_TRUE(held.Held());
    EXPECT_FALSE(DeleteFileLogged(locked.c_str(), c.report));
    EXPECT_EQ(log.lines, c.logs_failure ? Lines{"File NOT deleted: " + locked} : Lines{});
  }
}

TEST(DeleteFolderTree, RemovesEverythingAndLogsOnlyTheTop) {
  CaptureLogger log;
  TestFolder folder;
  std::string top = folder / "top";
  CreateFolderChain((top + "\\a\\b").c_str(), false);
  WriteTestFile(top + "\\a\\b\\f.txt", "x");
  WriteTestFile(top + "\\g.txt", "x");
  SetFileAttributesA((top + "\\g.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFolderTree(folder.Path().c_str(), "top", true));
  EXPECT_FALSE(PathExists(top.c_str()));
  EXPECT_EQ(log.lines, Lines{"Directory deleted: " + top});

  log.lines.clear();
  EXPECT_FALSE(DeleteFolderTree(top.c_str(), true));  // missing: false, silent
  EXPECT_TRUE(log.lines.empty());
}

TEST(DeleteFolderTree, ALockedFileStopsItAndKeepsTheFolder) {
  CaptureLogger log;
  TestFolder folder;
  std::string top = folder / "top";
  CreateFolderChain(top.c_str(), false);
  WriteTestFile(top + "\\locked.dll", "x");
  HeldFile held(top + "\\locked.dll");
  ASSERT_TRUE(held.Held());
  EXPECT_FALSE(DeleteFolderTree(top.c_str(), true));
  EXPECT_TRUE(PathExists((top + "\\locked.dll").c_str()));
  EXPECT_TRUE(log.lines.empty());  // the file's failure is silent inside a tree
}

TEST(RenameInFolder, RenamesAndNeverReplaces) {
  CaptureLogger log;
  TestFolder folder;
  WriteTestFile(folder / "old.txt", "old");
  WriteTestFile(folder / "taken.txt", "taken");
  EXPECT_TRUE(RenameInFolder(folder.Path().c_str(), "old.txt", "new.txt"));
  EXPECT_EQ(ReadTestFile(folder / "new.txt"), "old");
  EXPECT_FALSE(RenameInFolder(folder.Path().c_str(), "new.txt", "taken.txt"));
  EXPECT_EQ(ReadTestFile(folder / "taken.txt"), "taken");
  EXPECT_EQ(log.lines, (Lines{"File renamed: " + (folder / "old.txt") + " ->-> new.txt",
                              "File NOT renamed: " + (folder / "new.txt")}));
}
