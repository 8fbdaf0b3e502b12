// A fresh install puts every file, service, shortcut, association, PATH
// entry and the registration where the options say, and nothing anywhere
// else; the installed setup copy repairs without being written again.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "package/package_directory.h"
#include "package/read_package.h"
#include "scenario_support.h"
#include "shell_link_reader.h"

namespace {

const std::vector<std::string> kProgramFiles = {"Scenic.exe", "ScenicAgent.exe", "ScenicHelper.exe", "Readme.txt",
                                                "Library.dll"};

std::string ShortPath(const std::string& path) {
  char short_path[MAX_PATH] = "";
  GetShortPathNameA(path.c_str(), short_path, sizeof short_path);
  return short_path;
}

struct LinkWanted {
  std::string name;
  std::string target;
  std::string arguments;
  std::string icon_file;  // long form; the link holds the short one
  int icon_index;
};

void ExpectLink(const std::string& folder, const LinkWanted& wanted) {
  std::optional<ShellLinkInfo> link = ReadShellLink(folder + "\\" + wanted.name);
  ASSERT_TRUE(link.has_value()) << folder << "\\" << wanted.name;
  EXPECT_EQ(link->target, wanted.target) << wanted.name;
  EXPECT_EQ(link->arguments, wanted.arguments) << wanted.name;
  EXPECT_EQ(link->icon_file, wanted.icon_file.empty() ? "" : ShortPath(wanted.icon_file)) << wanted.name;
  if (!wanted.icon_file.empty()) {
    EXPECT_EQ(link->icon_index, wanted.icon_index) << wanted.name;
  }
}

}  // namespace

class FreshInstall : public ScenarioTest {};

TEST_F(FreshInstall, PutsEverythingWhereTheOptionsSayAndNothingElsewhere) {
  const std::string program = "C:\\Apps\\Tarnell\\Scenic";
  const ShellFolders user = FoldersFor(false);
  const std::string data = user.app_data + "\\Tarnell";
  Snapshot before = TakeSnapshot();

  DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program, "--path"});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The installation was successful");
  EXPECT_EQ(run.log,
            (std::vector<std::string>{"Setup started", "Version of this package: english, 1.0", "Setup ended"}));

  // Files: their bytes and times; the data file that the program writes
  // itself is not written.
  for (const std::string& name : kProgramFiles) {
    EXPECT_EQ(FileBytes(program + "\\" + name), ExpectedBytes("scenic-1.0", name)) << name;
    EXPECT_EQ(WriteTime(program + "\\" + name), ExpectedTime("scenic-1.0", name)) << name;
  }
  EXPECT_EQ(WriteTime(program + "\\Readme.txt"), 133852968001234567u);  // 2025-03-01 10:00:00.1234567
  EXPECT_EQ(FileBytes(data + "\\Settings.dat"), ExpectedBytes("scenic-1.0", "Settings.dat"));
  EXPECT_FALSE(Exists(data + "\\Journal.txt"));

  // Services: registered, quoted, manual, not started.
  for (const char* name : {"ScenicAgent", "ScenicHelper"}) {
    std::optional<ServiceFacts> service = FindService(name);
    ASSERT_TRUE(service.has_value()) << name;
    EXPECT_EQ(service->image_path, "\"" + program + "\\" + name + ".exe\"");
    EXPECT_EQ(service->start_type, static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(service->state, static_cast<DWORD>(SERVICE_STOPPED));
  }

  // Shortcuts: programs show their own icon, documents the main program's.
  const std::string copy = program + "\\Scenic_Setup.exe";
  EXPECT_EQ(FolderEntries(user.start_menu),
            (std::vector<std::string>{"Readme.lnk", "Scenic.lnk", "ScenicHelper.lnk", "Scenic_Setup.lnk",
                                      "Start ScenicAgent Service.lnk", "Start ScenicHelper Service.lnk",
                                      "Stop ScenicAgent Service.lnk", "Stop ScenicHelper Service.lnk"}));
  ExpectLink(user.start_menu, {"Scenic.lnk", program + "\\Scenic.exe", "", "", 0});
  ExpectLink(user.start_menu, {"Readme.lnk", program + "\\Readme.txt", "", program + "\\Scenic.exe", 1});
  ExpectLink(user.start_menu, {"Scenic_Setup.lnk", copy, "", "", 0});
  const std::string agent = program + "\\ScenicAgent.exe";
  ExpectLink(user.start_menu, {"Start ScenicAgent Service.lnk", agent, "start", agent, 1});
  ExpectLink(user.start_menu, {"Stop ScenicAgent Service.lnk", agent, "stop", agent, 2});
  EXPECT_TRUE(Exists(user.desktop + "\\Scenic.lnk"));
  EXPECT_FALSE(Exists(user.desktop + "\\Readme.lnk"));
  EXPECT_FALSE(Exists(FoldersFor(true).start_menu));

  // The setup copy: the setup itself, no longer marked as a patch.
  EXPECT_EQ(FileBytes(copy), FileBytes(SetupPath("scenic-1.0")));
  PackageDirectory copied;
  ASSERT_TRUE(ReadPackage(copied, copy.c_str()));
  EXPECT_EQ(copied.version.patch, 0);
  EXPECT_EQ(copied.version.major, 1);

  // Registration, PATH, associations.
  const std::string key = UninstallKey("Scenic");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "UninstallString"), "\"" + copy + "\"");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "InstallLocation"), program);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "DataPath"), data);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "DisplayVersion"), "1.0");
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, key, "Flags"), 1u + 2u + 4u);
  EXPECT_TRUE(Contains(PathEntries(false), program));
  EXPECT_FALSE(Contains(PathEntries(true), program));
  for (const char* extension : {"scn", "scx"}) {
    std::string type = std::string("Scenic.") + extension;
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, std::string(".") + extension, nullptr), type);
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, type + "\\shell\\open\\ddeexec\\Topic", nullptr), "openfile");
  }

  std::vector<std::string> outside =
      WrittenOutside(before, TakeSnapshot(), {program, data, user.start_menu, user.desktop});
  EXPECT_TRUE(outside.empty()) << outside.front();

  // A second look finds the product installed as it was chosen.
  DeployRun mode = RunDeploy({"status", SetupPath("scenic-1.0")});
  EXPECT_TRUE(Contains(mode.output, "mode: Repair"));
  EXPECT_TRUE(Contains(mode.output, "program_folder: " + program));
  EXPECT_TRUE(Contains(mode.output, "path: yes"));
}

TEST_F(FreshInstall, MakesOnlyTheShortcutsAndAssociationsThatAreTicked) {
  const std::string program = "C:\\Apps\\Tarnell\\Scenic";
  DeployRun run = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program, "--no-start-menu",
                             "--no-desktop", "--no-assoc", "scx"});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_FALSE(Exists(FoldersFor(false).start_menu));
  EXPECT_FALSE(Exists(FoldersFor(false).desktop + "\\Scenic.lnk"));
  EXPECT_TRUE(FindService("ScenicAgent").has_value());
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".scn", nullptr), "Scenic.scn");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".scx"));
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "Flags"), 0u);
  EXPECT_TRUE(Contains(run.record, "association scx create=0"));
}

class Repair : public ScenarioTest {};

TEST_F(Repair, FromTheSetupCopyRestoresFilesAndLinksWithoutWritingTheCopy) {
  const std::string program = "C:\\Apps\\Tarnell\\Scenic";
  const ShellFolders user = FoldersFor(false);
  ASSERT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);

  // What a user may have done since: a file and a link deleted, a file
  // changed and made read-only.
  const std::string copy = program + "\\Scenic_Setup.exe";
  const std::uint64_t marked = 0x01D0000000000000;
  SetWriteTime(copy, marked);
  DeleteFileA((program + "\\Library.dll").c_str());
  DeleteFileA((user.start_menu + "\\Scenic.lnk").c_str());
  const std::string readme = program + "\\Readme.txt";
  {
    std::ofstream changed(readme, std::ios::binary | std::ios::trunc);
    changed << "changed by hand";
  }
  SetFileAttributesA(readme.c_str(), FILE_ATTRIBUTE_READONLY);

  DeployRun mode = RunDeploy({"status", copy});
  EXPECT_TRUE(Contains(mode.output, "mode: Repair"));
  EXPECT_TRUE(Contains(mode.output, "uninstall_enabled: yes"));
  DeployRun run = RunDeploy({"install", copy});
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(run.message, "The installation was successful");

  EXPECT_EQ(FileBytes(program + "\\Library.dll"), ExpectedBytes("scenic-1.0", "Library.dll"));
  EXPECT_EQ(FileBytes(readme), ExpectedBytes("scenic-1.0", "Readme.txt"));
  EXPECT_TRUE(Exists(user.start_menu + "\\Scenic.lnk"));
  EXPECT_EQ(WriteTime(copy), marked) << "the running copy was written again";
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UninstallKey("Scenic"), "UninstallString"), "\"" + copy + "\"");
}
