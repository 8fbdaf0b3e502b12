// Uninstalls: from the running setup copy everything but the copy goes
// during the run and the batch removes the copy and the emptied folders
// once the run has ended, sparing a publisher folder that still holds
// another product; kept data stays with its folder.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "scenario_support.h"

namespace {

struct UninstallCase {
  const char* name;
  std::string publisher;  // the folder that holds the product's program folder
  std::string program;
  bool neighbour;          // another product shares the publisher folder
  std::string first_kept;  // the innermost folder the batch must leave
};

// The case's name, not its bytes, in the test's name.
void PrintTo(const UninstallCase& c, std::ostream* out) { *out << c.name; }

}  // namespace

class UninstallFromCopy : public ScenarioTest, public ::testing::WithParamInterface<UninstallCase> {};

TEST_P(UninstallFromCopy, RemovesEverythingAndTheBatchTakesTheCopyAndEmptiedFolders) {
  const UninstallCase& c = GetParam();
  const ShellFolders user = FoldersFor(false);
  const std::string data = user.app_data + "\\Tarnell";
  if (c.neighbour) {
    ASSERT_EQ(
        RunDeploy({"install", SetupPath("neighbour-1.0"), "--program-folder", c.publisher + "\\Neighbour"}).exit_code,
        0u);
  }
  // Another program's type for .scx, which the uninstall must give back.
  SetRegistryText(HKEY_CLASSES_ROOT, ".scx", nullptr, "OtherEditor.scx");
  Snapshot before = TakeSnapshot();
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", c.program, "--path"}).exit_code, 0u);
  ASSERT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".scx", nullptr), "Scenic.scx");
  std::ofstream(data + "\\Journal.txt") << "written by Scenic";

  // The test holds the copy open as the system holds a running program, so
  // what the run leaves can be seen before the batch gets its turn.
  const std::string copy = c.program + "\\Scenic_Setup.exe";
  HeldFile running(copy, HeldFile::Hold::kRunning);
  ASSERT_TRUE(running.IsOpen());
  DeployRun run = RunDeploy({"uninstall", copy});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The Deinstallation was successful.");
  EXPECT_TRUE(run.RecordFiles().empty());
  // Everything but the copy is gone while the run ends.
  EXPECT_EQ(FolderEntries(c.program), std::vector<std::string>{"Scenic_Setup.exe"});
  EXPECT_FALSE(Exists(data));
  EXPECT_FALSE(FindService("ScenicAgent").has_value());
  EXPECT_FALSE(FindService("ScenicHelper").has_value());
  EXPECT_EQ(FolderEntries(user.start_menu),
            c.neighbour ? std::vector<std::string>{"Neighbour_Setup.lnk"} : std::vector<std::string>{});
  EXPECT_FALSE(Exists(user.desktop + "\\Scenic.lnk"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  EXPECT_FALSE(Contains(PathEntries(false), c.program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".scn"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "Scenic.scn"));
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".scx", nullptr), "OtherEditor.scx");

  // The setup has ended: the batch takes the copy and the emptied folders,
  // then itself.
  running.Close();
  EXPECT_TRUE(WaitUntilGone(c.program, 30)) << c.program;
  EXPECT_EQ(Exists(c.publisher), c.neighbour);
  EXPECT_TRUE(Exists(c.first_kept));
  if (c.neighbour) {
    EXPECT_TRUE(Exists(c.publisher + "\\Neighbour\\Neighbour.txt"));
  }
  // Only the log stays in the temporary folder: the batch's own folder went too.
  for (int i = 0; i < 50 && FolderEntries(run.temp_folder).size() > 1; ++i) Sleep(100);
  EXPECT_EQ(FolderEntries(run.temp_folder), std::vector<std::string>{"Scenic_Setup.log"});

  std::vector<std::string> outside = WrittenOutside(before, TakeSnapshot(), {});
  EXPECT_TRUE(outside.empty()) << outside.front();
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UninstallFromCopy,
    ::testing::Values(UninstallCase{"BesideAnotherProduct", "C:\\Apps\\Tarnell", "C:\\Apps\\Tarnell\\Scenic", true,
                                    "C:\\Apps\\Tarnell"},
                      UninstallCase{"WithBlanksInThePath", "C:\\Program Files\\Tarnell Apps\\Tarnell",
                                    "C:\\Program Files\\Tarnell Apps\\Tarnell\\Scenic Pro", false,
                                    "C:\\Program Files"}),
    [](const ::testing::TestParamInfo<UninstallCase>& param) { return std::string(param.param.name); });

class Uninstall : public ScenarioTest {};

TEST_F(Uninstall, KeepsTheDataFilesAndTheirFolderAndMissesNoDeletedShortcut) {
  const std::string program = "C:\\Apps\\Tarnell\\Scenic";
  const std::string data = FoldersFor(false).app_data + "\\Tarnell";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  std::ofstream(data + "\\Journal.txt") << "written by Scenic";
  // A shortcut the user deleted is no reason to stop.
  ASSERT_TRUE(DeleteFileA((FoldersFor(false).start_menu + "\\Readme.lnk").c_str()));

  DeployRun run = RunDeploy({"uninstall", SetupPath("scenic-1.0"), "--keep-data"});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The Deinstallation was successful.");
  EXPECT_EQ(FolderEntries(data), (std::vector<std::string>{"Journal.txt", "Settings.dat"}));
  // This run was not the copy, so the copy and the program folder went at once.
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  EXPECT_TRUE(Contains(RunDeploy({"status", SetupPath("scenic-1.0")}).output, "mode: Install"));
}

class UninstallFromADownload : public ScenarioTest {};

// The installed copy is held open by another program: the uninstall stops
// before the registration goes, and the download that ran it stays.
TEST_F(UninstallFromADownload, StopsWhenTheCopyCannotBeDeletedAndLeavesTheDownload) {
  const std::string program = "C:\\Apps\\Scenic";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  const std::string download = WorkFolder("Downloads") + "\\Scenic_Setup.exe";
  ASSERT_TRUE(CopyFileA(SetupPath("scenic-1.0").c_str(), download.c_str(), TRUE));

  DeployRun run;
  {
    HeldFile held(program + "\\Scenic_Setup.exe", HeldFile::Hold::kRunning);
    ASSERT_TRUE(held.IsOpen());
    run = RunDeploy({"uninstall", download});
  }
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.message, "The Deinstallation aborted.");
  EXPECT_TRUE(run.Logged("File NOT deleted: " + program + "\\Scenic_Setup.exe"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  Sleep(2000);  // time enough for a batch to have deleted it
  EXPECT_TRUE(Exists(download));

  DeployRun again = RunDeploy({"uninstall", download});
  EXPECT_EQ(again.exit_code, 0u);
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  Sleep(2000);
  EXPECT_TRUE(Exists(download));
}
