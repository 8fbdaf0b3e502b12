// A product of a few hundred files in folders three deep, through install,
// an update that drops, adds, moves and changes files, a repair after a
// subfolder was deleted, and an uninstall through the setup copy that leaves
// only the file the user added, with its folders. The copy carries no
// product files: it refuses to repair, with nothing written.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "scenario_support.h"

namespace {

const char kProgram[] = "C:\\Apps\\Tarnell\\Tree";

// The product paths of a version, as the builder extracted them.
std::vector<std::string> TreeFiles(const std::string& version) {
  std::vector<std::string> paths;
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 5; ++b) {
      for (int c = 0; c < 10; ++c) {
        std::string path =
            "lib\\a" + std::to_string(a) + "\\b" + std::to_string(b) + "\\f" + std::to_string(c) + ".txt";
        bool dropped = (a == 0 && b == 0) || a == 3 || (a == 1 && b == 1 && c == 0);
        if (version == "1.0" || !dropped) paths.push_back(path);
      }
    }
  }
  if (version == "2.0") {
    paths.push_back("moved\\f0.txt");
    for (int c = 0; c < 5; ++c) paths.push_back("new\\x\\y\\n" + std::to_string(c) + ".txt");
  }
  return paths;
}

void ExpectTree(const std::string& version) {
  std::string setup = "tree-" + version;
  for (const std::string& path : TreeFiles(version)) {
    EXPECT_EQ(FileBytes(std::string(kProgram) + "\\" + path), ExpectedBytes(setup, path)) << path;
  }
}

}  // namespace

class Tree : public ScenarioTest {};

TEST_F(Tree, InstallsUpdatesRepairsAndUninstallsAFolderTree) {
  const std::string program = kProgram;
  DeployRun installed = RunDeploy({"install", SetupPath("tree-1.0"), "--program-folder", program});
  ASSERT_EQ(installed.exit_code, 0u) << installed.message;
  ExpectTree("1.0");
  const std::string mine = program + "\\lib\\a0\\b0\\mine.txt";
  std::ofstream(mine) << "the user's own";

  DeployRun updated = RunDeploy({"install", SetupPath("tree-2.0")});
  ASSERT_EQ(updated.exit_code, 0u) << updated.message;
  ExpectTree("2.0");
  EXPECT_EQ(FolderEntries(program + "\\lib\\a0\\b0"), std::vector<std::string>{"mine.txt"});
  EXPECT_FALSE(Exists(program + "\\lib\\a3")) << "a folder the update emptied stays";
  EXPECT_FALSE(Exists(program + "\\lib\\a1\\b1\\f0.txt"));
  EXPECT_EQ(updated.RecordFiles().size(), TreeFiles("2.0").size());

  // A deleted subfolder comes back with a repair from the download.
  ASSERT_GT(std::filesystem::remove_all(program + "\\lib\\a4"), 0u);
  DeployRun repaired = RunDeploy({"install", SetupPath("tree-2.0")});
  ASSERT_EQ(repaired.exit_code, 0u) << repaired.message;
  ExpectTree("2.0");

  // The copy in the program folder holds the program, the skin and the
  // directory: it knows the product but cannot install it.
  const std::string copy = program + "\\Tree_Setup.exe";
  ASSERT_TRUE(Exists(copy));
  EXPECT_LT(std::filesystem::file_size(copy) + 1000, std::filesystem::file_size(SetupPath("tree-2.0")));
  Snapshot before = TakeSnapshot();
  DeployRun refused = RunDeploy({"install", copy});
  EXPECT_NE(refused.exit_code, 0u);
  EXPECT_TRUE(refused.Logged("The setup program of Tree is needed for a repair: this copy carries no product files"))
      << refused.message;
  EXPECT_EQ(WrittenOutside(before, TakeSnapshot(), {refused.temp_folder}), std::vector<std::string>{});
  DeployRun status = RunDeploy({"status", copy});
  EXPECT_EQ(status.exit_code, 0u) << status.message;

  DeployRun removed = RunDeploy({"uninstall", copy});
  EXPECT_EQ(removed.exit_code, 0u) << removed.message;
  EXPECT_TRUE(WaitUntilGone(copy, 30)) << "the uninstall batch removes the copy that ran";
  EXPECT_EQ(FileBytes(mine), std::optional<std::string>("the user's own"));
  EXPECT_EQ(FolderEntries(program), std::vector<std::string>{"lib"});
  EXPECT_EQ(FolderEntries(program + "\\lib"), std::vector<std::string>{"a0"});
  EXPECT_EQ(FolderEntries(program + "\\lib\\a0"), std::vector<std::string>{"b0"});
}

// A program folder under which the tree's paths would pass the system's
// limit is refused with the longest path, before anything is written.
TEST_F(Tree, APathTooLongForWindowsIsRefusedBeforeAnythingIsWritten) {
  std::string program = "C:\\Apps";
  while (program.size() < 236) program += "\\" + std::string(20, 'd');
  Snapshot before = TakeSnapshot();
  DeployRun refused = RunDeploy({"install", SetupPath("tree-1.0"), "--program-folder", program});
  EXPECT_NE(refused.exit_code, 0u);
  const std::string longest = program + "\\lib\\a0\\b0\\f0.txt";
  EXPECT_TRUE(refused.Logged("The path " + longest + " is too long for Windows (" + std::to_string(longest.size()) +
                             " characters)"))
      << refused.message;
  EXPECT_EQ(WrittenOutside(before, TakeSnapshot(), {refused.temp_folder}), std::vector<std::string>{});
}
