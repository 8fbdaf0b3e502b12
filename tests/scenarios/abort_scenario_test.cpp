// Aborts: each shows the sequence's message box text and logs its line,
// leaves an installed record that matches the machine, and a later run
// finishes the job. (A file held open by another process is in
// update_scenario_test.cpp, where it also shows what an update removes
// first.)
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "scenario_support.h"
#include "symbolic_link.h"

namespace {

// Every file the record lists is in its folder, and the program folder
// holds nothing the record does not list.
void ExpectRecordMatchesFolder(const DeployRun& run, const std::string& program) {
  std::vector<std::string> listed = run.RecordFiles();
  for (const std::string& name : FolderEntries(program)) {
    EXPECT_TRUE(Contains(listed, name)) << name << " is on the machine but not in the installed record";
  }
  for (const std::string& line : run.record) {
    if (line.compare(0, 5, "file ") != 0 || line.find("destination=0") == std::string::npos) continue;
    std::string name = line.substr(5, line.find(' ', 5) - 5);
    EXPECT_TRUE(Exists(program + "\\" + name)) << name << " is in the installed record but not on the machine";
  }
}

}  // namespace

class Abort : public ScenarioTest {};

TEST_F(Abort, AnEmptyProgramFolderStopsBeforeAnythingIsWritten) {
  // tarnell-deploy refuses it as no full path, before the sequence's own
  // guard ("Empty program directory") is reached.
  DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", ""});
  EXPECT_EQ(run.exit_code, 2u);
  EXPECT_TRUE(Contains(run.errors, "tarnell-deploy: --program-folder needs a full path, such as C:\\Apps\\Product: "));
  EXPECT_TRUE(run.RecordFiles().empty());
  EXPECT_FALSE(Exists(FoldersFor(false).app_data + "\\Tarnell"));
  EXPECT_FALSE(FindService("ScenicAgent").has_value());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));

  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", "C:\\Apps\\Scenic"}).exit_code, 0u);
}

namespace {

// scenic-1.0 with one byte of its last stream flipped, or with its PE
// checksum cleared as in a setup built before the builder stored one.
std::string AlteredSetup(const std::string& folder, bool flip_payload) {
  std::string bytes = *FileBytes(SetupPath("scenic-1.0"));
  auto little = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
  };
  if (flip_payload) {
    bytes[little(bytes.size() - 4) - 20] ^= 0x10;
  } else {
    std::size_t optional_header = little(0x3C) + 24;
    for (int i = 0; i < 4; ++i) bytes[optional_header + 64 + i] = 0;
  }
  std::string path = folder + "\\scenic-1.0.exe";
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace

TEST_F(Abort, ADamagedPayloadIsRefusedBeforeAnythingIsWritten) {
  const std::string program = "C:\\Apps\\Scenic";
  DeployRun run = RunDeploy({"install", AlteredSetup(WorkFolder("damaged"), true), "--program-folder", program});
  // Refused as a package, at start.
  EXPECT_EQ(run.exit_code, 3u);
  EXPECT_TRUE(run.Logged("Invalid Tarnell software package."));
  EXPECT_TRUE(run.Logged("Abort while starting the program"));
  EXPECT_FALSE(Exists(program));
  EXPECT_TRUE(run.RecordFiles().empty());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));

  // A setup without a package sum, as every setup built before, installs.
  DeployRun older = RunDeploy({"install", AlteredSetup(WorkFolder("older"), false), "--program-folder", program});
  EXPECT_EQ(older.exit_code, 0u) << older.message;
  EXPECT_EQ(FileBytes(program + "\\Library.dll"), ExpectedBytes("scenic-1.0", "Library.dll"));
}

// A folder under a link that a user made (a Unix symbolic link, which Wine
// reports as a reparse point of the user's) would take the elevated writes
// wherever it points.
TEST_F(Abort, AProgramFolderUnderAUsersLinkIsRefusedBeforeAnythingIsWritten) {
  const std::string bystander = "C:\\Bystander";
  ASSERT_TRUE(CreateDirectoryA(bystander.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA("C:\\Apps", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  SymbolicLink link("C:\\Apps\\Linked", bystander);
  ASSERT_TRUE(link.Made());

  const std::string program = "C:\\Apps\\Linked\\Scenic";
  DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.message, "The installation aborted.");
  EXPECT_TRUE(
      run.Logged("Directory " + program + " lies under a link that is not the administrators': C:\\Apps\\Linked"));
  EXPECT_TRUE(FolderEntries(bystander).empty());
  EXPECT_FALSE(FindService("ScenicAgent").has_value());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
}

// The shortcut folders are checked as resolved: a user's link at
// Programs\Tarnell stops the install before a shortcut is written through
// it, and the uninstall before one is deleted through it, the product
// staying registered for a later run.
TEST_F(Abort, AStartMenuFolderThatIsAUsersLinkIsRefusedByInstallAndUninstall) {
  const std::string program = "C:\\Apps\\Scenic";
  const std::string start_menu = FoldersFor(false).start_menu;
  const std::string refusal =
      "Directory " + start_menu + " lies under a link that is not the administrators': " + start_menu;
  const std::string bystander = "C:\\Bystander";
  ASSERT_TRUE(CreateDirectoryA(bystander.c_str(), nullptr));
  std::ofstream(bystander + "\\Scenic.lnk") << "not the setup's";
  {
    SymbolicLink link(start_menu, bystander);
    ASSERT_TRUE(link.Made());
    DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_EQ(run.message, "The installation aborted.");
    EXPECT_TRUE(run.Logged(refusal));
    EXPECT_EQ(FolderEntries(bystander), std::vector<std::string>{"Scenic.lnk"});
    EXPECT_FALSE(Exists(program + "\\Scenic.exe"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  }

  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  const std::string moved = start_menu + " moved";
  ASSERT_TRUE(MoveFileA(start_menu.c_str(), moved.c_str()));
  {
    SymbolicLink link(start_menu, bystander);
    ASSERT_TRUE(link.Made());
    DeployRun run = RunDeploy({"uninstall", SetupPath("scenic-1.0")});
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_EQ(run.message, "The Deinstallation aborted.");
    EXPECT_TRUE(run.Logged(refusal));
    EXPECT_EQ(FileBytes(bystander + "\\Scenic.lnk"), "not the setup's");
    EXPECT_TRUE(Exists(program + "\\Scenic.exe"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  }
  // The link's removal by /bin/rm reaches Wine a moment later under load.
  bool back = false;
  for (int i = 0; i < 50 && !(back = MoveFileA(moved.c_str(), start_menu.c_str()) != 0); ++i) Sleep(100);
  ASSERT_TRUE(back);
  DeployRun later = RunDeploy({"uninstall", SetupPath("scenic-1.0")});
  EXPECT_EQ(later.exit_code, 0u) << later.message;
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
}

TEST_F(Abort, AFullDiskLeavesNoHalfWrittenFileAndALaterRunCompletes) {
  const std::string program = "T:\\Scenic";
  ULARGE_INTEGER free_bytes;
  if (!GetDiskFreeSpaceExA("T:\\", &free_bytes, nullptr, nullptr)) {
    GTEST_SKIP() << "no small disk T: (in-scenario-prefix.sh mounts one when it may)";
  }
  // Room for the programs and the read-me, not for Library.dll.
  const std::string filler = "T:\\filler";
  {
    std::ofstream file(filler, std::ios::binary);
    file << std::string(static_cast<std::size_t>(free_bytes.QuadPart) - 420 * 1024, 'x');
  }

  DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.message, "The installation aborted.");
  EXPECT_TRUE(run.Logged("Error writing to file: " + program + "\\Library.dll"));
  EXPECT_EQ(run.RecordFiles(),
            (std::vector<std::string>{"Scenic.exe", "ScenicAgent.exe", "ScenicHelper.exe", "Readme.txt"}));
  ExpectRecordMatchesFolder(run, program);
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));

  ASSERT_TRUE(DeleteFileA(filler.c_str()));
  DeployRun again = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(again.exit_code, 0u);
  EXPECT_EQ(FileBytes(program + "\\Library.dll"), ExpectedBytes("scenic-1.0", "Library.dll"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "UninstallString"),
            "\"" + program + "\\Scenic_Setup.exe\"");
}

TEST_F(Abort, AServiceThatDoesNotStopKeepsTheProductRegisteredAndARepairRecovers) {
  const std::string program = "C:\\Apps\\Scenic";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  ASSERT_TRUE(StartServiceWith("ScenicAgent", "slow-stop"));
  ASSERT_TRUE(WaitForServiceState("ScenicAgent", SERVICE_RUNNING, 10));

  DeployRun run = RunDeploy({"uninstall", SetupPath("scenic-1.0")});
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.message, "The Deinstallation aborted.");
  EXPECT_TRUE(run.Logged("The service ScenicAgent has not been stoppt"));
  // The files after it in the record are gone; it and the ones before stay.
  EXPECT_EQ(run.RecordFiles(), (std::vector<std::string>{"Scenic.exe", "ScenicAgent.exe"}));
  EXPECT_EQ(FolderEntries(program), (std::vector<std::string>{"Scenic.exe", "ScenicAgent.exe", "Scenic_Setup.exe"}));
  EXPECT_TRUE(Exists(FoldersFor(false).start_menu + "\\Stop ScenicAgent Service.lnk"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));

  // Once it has stopped, a repair brings back what went, and the uninstall
  // goes through.
  ASSERT_TRUE(WaitForServiceState("ScenicAgent", SERVICE_STOPPED, 30));
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0")}).exit_code, 0u);
  EXPECT_EQ(FileBytes(program + "\\Library.dll"), ExpectedBytes("scenic-1.0", "Library.dll"));
  DeployRun again = RunDeploy({"uninstall", SetupPath("scenic-1.0")});
  EXPECT_EQ(again.exit_code, 0u);
  EXPECT_FALSE(FindService("ScenicAgent").has_value());
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
}

TEST_F(Abort, ARegistrationThatCannotBeErasedIsAllThatIsLeft) {
  const std::string program = "C:\\Apps\\Scenic";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program, "--path"}).exit_code, 0u);
  // Another tool's key below the registration keeps it from being deleted.
  const std::string blocker = UninstallKey("Scenic") + "\\Notes";
  SetRegistryText(HKEY_LOCAL_MACHINE, blocker, "Note", "kept by another tool");

  DeployRun run = RunDeploy({"uninstall", SetupPath("scenic-1.0")});
  EXPECT_EQ(run.exit_code, 1u);
  EXPECT_EQ(run.message, "The Deinstallation aborted.");
  EXPECT_TRUE(run.Logged("The registration of Scenic has not been erased"));
  EXPECT_TRUE(run.RecordFiles().empty());
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(FindService("ScenicAgent").has_value());
  EXPECT_FALSE(Exists(FoldersFor(false).start_menu));
  EXPECT_FALSE(Contains(PathEntries(false), program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".scn"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));

  // Without its setup copy the product can only be installed again, and
  // then uninstalled.
  EXPECT_TRUE(Contains(RunDeploy({"status", SetupPath("scenic-1.0")}).output, "uninstall_enabled: no"));
  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, blocker.c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0")}).exit_code, 0u);
  EXPECT_EQ(RunDeploy({"uninstall", SetupPath("scenic-1.0")}).exit_code, 0u);
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
}

TEST_F(Abort, DataFilesThatMovedBeforeAFailingStepAreFoundWhereTheyWent) {
  const std::string program = "C:\\Apps\\Scenic";
  const std::string old_data = FoldersFor(false).app_data + "\\Tarnell";
  const std::string moved = "C:\\Data\\Scenic Two";
  const std::string later = "C:\\Data\\Scenic Three";
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
  {
    std::ofstream journal(old_data + "\\Journal.txt", std::ios::binary | std::ios::trunc);
    journal << "written by Scenic";
  }

  // The update moves the data files first; Scenic.exe, the first file it
  // writes after that, is in use.
  HeldFile in_use(program + "\\Scenic.exe");
  ASSERT_TRUE(in_use.IsOpen());
  DeployRun held = RunDeploy({"install", SetupPath("scenic-2.0"), "--data-folder", moved});
  EXPECT_EQ(held.exit_code, 1u);
  EXPECT_EQ(FileBytes(moved + "\\Journal.txt"), "written by Scenic");
  EXPECT_FALSE(Exists(old_data));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DataPath"), moved);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DisplayVersion"), "1.0");

  // The next run finds them there and takes them along to another folder.
  in_use.Close();
  DeployRun run = RunDeploy({"install", SetupPath("scenic-2.0"), "--data-folder", later});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(FileBytes(later + "\\Journal.txt"), "written by Scenic");
  EXPECT_FALSE(Exists(moved));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "DataPath"), later);
}
