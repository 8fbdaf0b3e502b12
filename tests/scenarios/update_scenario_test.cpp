// Updates: a package that drops a file removes it with its shortcuts and
// service before anything is written; data files follow a new data folder;
// a switch to all users moves shortcuts and the PATH entry; a patch leaves
// an unpatched setup copy; kept data stays as it is.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "package/package_directory.h"
#include "package/read_package.h"
#include "scenario_support.h"

namespace {

const char kProgram[] = "C:\\Apps\\Tarnell\\Scenic";

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  ASSERT_TRUE(file.good()) << path;
}

}  // namespace

class Update : public ScenarioTest {};

TEST_F(Update, DropsAFileWithItsShortcutAndServiceBeforeWritingAnyAndRecoversFromAHeldFile) {
  const std::string program = kProgram;
  const ShellFolders user = FoldersFor(false);
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  ASSERT_TRUE(FindService("ScenicHelper").has_value());

  // Scenic.exe, the first file the update writes, is in use.
  HeldFile in_use(program + "\\Scenic.exe");
  ASSERT_TRUE(in_use.IsOpen());
  DeployRun held = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(held.exit_code, 1u);
  EXPECT_EQ(held.message, "The installation aborted.");
  EXPECT_TRUE(held.Logged("Error opening file: " + program + "\\Scenic.exe"));
  // The dropped file went first, with everything that belonged to it.
  EXPECT_FALSE(Exists(program + "\\ScenicHelper.exe"));
  EXPECT_FALSE(Exists(user.start_menu + "\\ScenicHelper.lnk"));
  EXPECT_FALSE(Exists(user.start_menu + "\\Start ScenicHelper Service.lnk"));
  EXPECT_FALSE(Exists(user.start_menu + "\\Stop ScenicHelper Service.lnk"));
  EXPECT_FALSE(FindService("ScenicHelper").has_value());
  EXPECT_FALSE(Exists(program + "\\Changes.txt"));
  // The record says what is there: 1.0's files without the dropped one.
  EXPECT_EQ(held.RecordFiles(), (std::vector<std::string>{"Scenic.exe", "ScenicAgent.exe", "Journal.txt", "Readme.txt",
                                                          "Library.dll", "Settings.dat"}));
  EXPECT_EQ(FileBytes(program + "\\Readme.txt"), ExpectedBytes("scenic-1.0", "Readme.txt"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DisplayVersion"), "1.0");

  in_use.Close();
  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The installation was successful");
  EXPECT_TRUE(run.Logged("Installed version: english, 1.0"));
  for (const char* name : {"Scenic.exe", "Readme.txt", "Library.dll", "Changes.txt"}) {
    EXPECT_EQ(FileBytes(program + "\\" + name), ExpectedBytes("scenic-2.0", name)) << name;
  }
  EXPECT_TRUE(Exists(user.start_menu + "\\Changes.lnk"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DisplayVersion"), "2.0");
  // The association 2.0 no longer has is gone; the kept one stays.
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".scx"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "Scenic.scx"));
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".scn", nullptr), "Scenic.scn");
  EXPECT_TRUE(Contains(RunDeploy({"status", program + "\\Scenic_Setup.exe"}).output, "mode: Repair"));
}

TEST_F(Update, MovesTheDataFilesToANewDataFolder) {
  const std::string old_data = FoldersFor(false).app_data + "\\Tarnell";
  const std::string new_data = "C:\\Data\\Scenic Two";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", kProgram}).exit_code, 0u);
  // The program keeps a journal there; the settings were deleted by hand.
  WriteText(old_data + "\\Journal.txt", "written by Scenic");
  ASSERT_TRUE(DeleteFileA((old_data + "\\Settings.dat").c_str()));

  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0"), "--data-folder", new_data});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(FileBytes(new_data + "\\Journal.txt"), "written by Scenic");
  EXPECT_EQ(FileBytes(new_data + "\\Settings.dat"), ExpectedBytes("scenic-2.0", "Settings.dat"));
  EXPECT_FALSE(Exists(old_data));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DataPath"), new_data);
  EXPECT_TRUE(Contains(run.record, "data-folder " + new_data));
}

TEST_F(Update, ToAllUsersMovesTheShortcutsAndThePathEntry) {
  const ShellFolders user = FoldersFor(false);
  const ShellFolders everyone = FoldersFor(true);
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", kProgram, "--path"}).exit_code, 0u);
  ASSERT_TRUE(Exists(user.desktop + "\\Scenic.lnk"));

  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0"), "--all-users"});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_FALSE(Exists(user.start_menu));
  EXPECT_FALSE(Exists(user.desktop + "\\Scenic.lnk"));
  for (const char* link : {"Scenic.lnk", "Readme.lnk", "Changes.lnk", "Scenic_Setup.lnk",
                           "Start ScenicAgent Service.lnk", "Stop ScenicAgent Service.lnk"}) {
    EXPECT_TRUE(Exists(everyone.start_menu + "\\" + link)) << link;
  }
  EXPECT_TRUE(Exists(everyone.desktop + "\\Scenic.lnk"));
  EXPECT_FALSE(Contains(PathEntries(false), kProgram));
  EXPECT_TRUE(Contains(PathEntries(true), kProgram));
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "Flags"), 1u + 2u + 4u + 8u);
}

TEST_F(Update, PatchBringsItsFilesAndLeavesAnUnpatchedCopy) {
  const std::string program = kProgram;
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-2.0"), "--program-folder", program}).exit_code, 0u);
  EXPECT_TRUE(Contains(RunDeploy({"status", SetupPath("scenic-2.1-patch")}).output, "mode: Patch"));

  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.1-patch")});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_TRUE(run.Logged("Version of this package: english, Patch, 2.1"));
  EXPECT_EQ(FileBytes(program + "\\Readme.txt"), ExpectedBytes("scenic-2.1-patch", "Readme.txt"));
  const std::string copy = program + "\\Scenic_Setup.exe";
  PackageDirectory copied;
  ASSERT_TRUE(ReadPackage(copied, copy.c_str()));
  EXPECT_EQ(copied.version.patch, 0);
  EXPECT_EQ(copied.version.minor, 1);
  EXPECT_EQ(FileBytes(copy)->size(), FileBytes(SetupPath("scenic-2.1-patch"))->size());
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DisplayVersion"), "2.1");
  EXPECT_TRUE(Contains(RunDeploy({"status", copy}).output, "mode: Repair"));
}

TEST_F(Update, KeepsChangedDataFilesButNotProgramFiles) {
  const std::string program = kProgram;
  const std::string data = FoldersFor(false).app_data + "\\Tarnell";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  WriteText(data + "\\Settings.dat", "the user's own settings");
  WriteText(program + "\\Readme.txt", "changed by hand");

  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-2.0"), "--keep-data"}).exit_code, 0u);
  EXPECT_EQ(FileBytes(data + "\\Settings.dat"), "the user's own settings");
  EXPECT_EQ(FileBytes(program + "\\Readme.txt"), ExpectedBytes("scenic-2.0", "Readme.txt"));
}

TEST_F(Update, FromTheCopyToAnotherProgramFolderLeavesTheOldFolderToTheBatch) {
  const std::string old_program = kProgram;
  const std::string new_program = "C:\\Apps\\Moved\\Scenic";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", old_program}).exit_code, 0u);

  const std::string old_copy = old_program + "\\Scenic_Setup.exe";
  HeldFile running(old_copy, HeldFile::Hold::kRunning);
  DeployRun run = RunDeploy({"install", old_copy, "--program-folder", new_program});
  EXPECT_EQ(run.exit_code, 0u);
  for (const char* name : {"Scenic.exe", "Readme.txt", "Scenic_Setup.exe"}) {
    EXPECT_TRUE(Exists(new_program + "\\" + name)) << name;
  }
  EXPECT_EQ(FolderEntries(old_program), std::vector<std::string>{"Scenic_Setup.exe"});
  EXPECT_EQ(FindService("ScenicAgent")->image_path, "\"" + new_program + "\\ScenicAgent.exe\"");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "UninstallString"),
            "\"" + new_program + "\\Scenic_Setup.exe\"");

  running.Close();
  EXPECT_TRUE(WaitUntilGone("C:\\Apps\\Tarnell", 30));
  EXPECT_TRUE(Exists(new_program + "\\Scenic_Setup.exe"));
}

namespace {

// Scenic 1.0 installed, its agent service running with `argument`.
void InstallWithRunningAgent(const char* argument) {
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", kProgram}).exit_code, 0u);
  ASSERT_TRUE(StartServiceWith("ScenicAgent", argument));
  ASSERT_TRUE(WaitForServiceState("ScenicAgent", SERVICE_RUNNING, 10));
}

}  // namespace

TEST_F(Update, StopsARunningServiceToReplaceItsProgramAndStartsItAgain) {
  const std::string program = kProgram;
  InstallWithRunningAgent("run");
  if (HasFatalFailure()) return;

  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The installation was successful");
  EXPECT_TRUE(run.Logged("Service ScenicAgent stopped"));
  EXPECT_TRUE(run.Logged("Service ScenicAgent started"));
  EXPECT_EQ(FileBytes(program + "\\ScenicAgent.exe"), ExpectedBytes("scenic-2.0", "ScenicAgent.exe"));
  EXPECT_TRUE(WaitForServiceState("ScenicAgent", SERVICE_RUNNING, 10));
}

TEST_F(Update, AServiceThatDoesNotStopEndsItBeforeAnythingIsWritten) {
  const std::string program = kProgram;
  InstallWithRunningAgent("slow-stop");
  if (HasFatalFailure()) return;

  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_TRUE(run.Logged("The service ScenicAgent has not been stoppt"));
  // Not even the file that 2.0 drops has gone.
  EXPECT_TRUE(Exists(program + "\\ScenicHelper.exe"));
  EXPECT_EQ(FileBytes(program + "\\Readme.txt"), ExpectedBytes("scenic-1.0", "Readme.txt"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DisplayVersion"), "1.0");

  ASSERT_TRUE(WaitForServiceState("ScenicAgent", SERVICE_STOPPED, 30));
  DeployRun again = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(again.exit_code, 0u);
  EXPECT_FALSE(again.Logged("Service ScenicAgent started"));
}
