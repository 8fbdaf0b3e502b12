// The product's shortcuts under Wine's real shell-link object: each link is
// read back through IShellLinkA (target, arguments, working folder, icon),
// for the rules of which file gets which link where, the setup copy and its
// link, the replacement on update, the removal and the failure lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "folder_listing.h"
#include "fs/file_operations.h"
#include "handles/com_ptr.h"
#include "handles/owned_handle.h"
#include "package/product_record.h"
#include "shell_link_reader.h"
#include "system/shortcuts.h"
#include "test_folder.h"

namespace {

std::string LongPath(const std::string& path) {
  char long_path[1024] = "";
  DWORD length = GetLongPathNameA(path.c_str(), long_path, sizeof long_path);
  return length > 0 && length < sizeof long_path ? long_path : path;
}

// The names of the files in a folder, sorted; empty when it does not exist.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const FolderEntry& entry : EntriesMatching(folder + "\\*")) {
    if (!entry.IsFolder()) names.push_back(entry.name);
  }
  return names;
}

FileRecord File(const char* name, ShortcutKind kind, std::uint8_t icon = 0, bool service = false,
                Destination destination = Destination::kProgramFolder) {
  FileRecord file;
  file.name = name;  // copied by the list that takes it
  file.shortcut_kind = static_cast<std::uint16_t>(kind);
  file.icon_index = icon;
  file.service = service ? 1 : 0;
  file.destination = static_cast<std::uint8_t>(destination);
  return file;
}

// What a link should say; an empty icon file means none.
struct ExpectedLink {
  std::string path;
  std::string target;
  std::string arguments;
  std::string icon_file;
  int icon_index;
};

void ExpectLink(const ExpectedLink& expected) {
  SCOPED_TRACE(expected.path);
  std::optional<ShellLinkInfo> link = ReadShellLink(expected.path);
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->target, expected.target);
  EXPECT_EQ(link->arguments, expected.arguments);
  EXPECT_EQ(link->working_folder, expected.target.substr(0, expected.target.rfind('\\')));
  EXPECT_EQ(LongPath(link->icon_file), expected.icon_file);
  EXPECT_EQ(link->icon_index, expected.icon_index);
  EXPECT_EQ(link->description, "");
}

int setup_copies_written = 0;
void WriteCopyForTest(const char* path) {
  ++setup_copies_written;
  WriteTestFile(path, "setup copy");
}

// One product in a test folder of its own: a current-user and an all-users
// set of shortcut folders, and a program and a data folder.
class ShortcutsTest : public ::testing::Test {
 protected:
  ShortcutsTest() {
    product_ = "TnLinks" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA(data_.c_str(), nullptr);
    for (const char* scope : {"User", "Common"}) {
      CreateDirectoryA((root_ / scope).c_str(), nullptr);
      CreateDirectoryA((root_ / scope + "\\Desktop").c_str(), nullptr);
    }
    SetPackage(package_, false);
    package_.start_menu_shortcuts = package_.desktop_shortcut = true;
    package_.files.Clear();
    package_.files.Add(File("skin", ShortcutKind::kNone));
    package_.files.Add(File("Viewer.Pro.exe", ShortcutKind::kStartMenu, 3));
    package_.files.Add(File("Readme.txt", ShortcutKind::kStartMenuAndDesktop, 1));
    package_.files.Add(File("Agent.exe", ShortcutKind::kNone, 0, true));
    package_.files.Add(
        File("Notes.dat", ShortcutKind::kStartMenuAndDesktop, 0, true, Destination::kDataFolderUntouched));
    package_.files.Add(File("Settings.cfg", ShortcutKind::kStartMenu, 4, false, Destination::kDataFolder));
  }

  // Folders as the locations give them for the scope.
  void SetPackage(ProductRecord& record, bool all_users) {
    std::string scope = root_ / (all_users ? "Common" : "User");
    record.all_users = all_users;
    record.program_folder.Assign(program_.c_str());
    record.data_folder.Assign(data_.c_str());
    record.start_menu_folder.Assign((scope + "\\Start Menu\\Programs\\Tarnell").c_str());
    record.desktop_folder.Assign((scope + "\\Desktop").c_str());
  }

  ShortcutRun Run() { return ShortcutRun{package_, installed_, product_.c_str(), package_path_.c_str()}; }
  // The setup-copy step of an install: the copy where it is due, then its link.
  void InstallSetupCopy(Text& copy) {
    if (PlanSetupCopy(Run(), copy)) WriteCopyForTest(copy.c_str());
    InstallSetupShortcut(Run(), copy.c_str());
  }

  std::string InstalledPath(const FileRecord& file) const {
    return (file.destination == 0 ? program_ : data_) + "\\" + file.name;
  }
  // The file pass of an install: each file is written, then gets its
  // shortcuts (none for a file that the install does not write).
  void InstallFiles() {
    for (std::size_t i = 2; i <= package_.FileCount(); ++i) {
      const FileRecord& file = package_.Record(i);
      if (file.destination != 2) WriteTestFile(InstalledPath(file), "content");
      MakeFileShortcuts(Run(), file, InstalledPath(file).c_str());
    }
  }

  std::string StartMenu(const ProductRecord& record) const { return record.start_menu_folder.c_str(); }
  std::string Desktop(const ProductRecord& record) const { return record.desktop_folder.c_str(); }

  ComScope com_;
  CaptureLogger log_;
  TestFolder root_;
  std::string product_;
  std::string program_ = root_ / "Program";
  std::string data_ = root_ / "Data";
  std::string package_path_ = root_ / "Download\\setup.exe";
  ProductRecord package_;
  ProductRecord installed_;
};

TEST_F(ShortcutsTest, ShellLinkKeepsTargetArgumentsFolderAndIcon) {
  std::string target = program_ + "\\Tool.exe";
  std::string icon = program_ + "\\Icons.dll";
  WriteTestFile(icon, "icons");
  ASSERT_TRUE(CreateShellLink(target.c_str(), (root_ / "Full.lnk").c_str(), icon.c_str(), "--go now", 7));
  ExpectLink({root_ / "Full.lnk", target, "--go now", icon, 7});

  ASSERT_TRUE(CreateShellLink(target.c_str(), (root_ / "Bare.lnk").c_str(), nullptr, nullptr, 0));
  ExpectLink({root_ / "Bare.lnk", target, "", "", 0});

  // A link cannot go into a missing folder, nor name an icon that is not there.
  EXPECT_FALSE(CreateShellLink(target.c_str(), (root_ / "Missing\\A.lnk").c_str(), nullptr, nullptr, 0));
  EXPECT_FALSE(
      CreateShellLink(target.c_str(), (root_ / "B.lnk").c_str(), (program_ + "\\None.ico").c_str(), nullptr, 0));
  EXPECT_FALSE(PathExists((root_ / "B.lnk").c_str()));
}

TEST_F(ShortcutsTest, EachFileGetsTheLinksItsKindAndTheOptionsAskFor) {
  InstallFiles();
  const std::string start = StartMenu(package_);
  const std::string desktop = Desktop(package_);
  const std::string viewer = program_ + "\\Viewer.Pro.exe";
  const std::string agent = program_ + "\\Agent.exe";

  EXPECT_EQ(FilesIn(start), (std::vector<std::string>{"Readme.lnk", "Settings.lnk", "Start Agent Service.lnk",
                                                      "Stop Agent Service.lnk", "Viewer.lnk"}));
  EXPECT_EQ(FilesIn(desktop), std::vector<std::string>{"Readme.lnk"});
  for (const ExpectedLink& link : std::vector<ExpectedLink>{
           // Programs show their own icon, everything else the product's.
           {start + "\\Viewer.lnk", viewer, "", "", 0},
           {start + "\\Readme.lnk", program_ + "\\Readme.txt", "", viewer, 1},
           {desktop + "\\Readme.lnk", program_ + "\\Readme.txt", "", viewer, 1},
           {start + "\\Settings.lnk", data_ + "\\Settings.cfg", "", viewer, 4},
           {start + "\\Start Agent Service.lnk", agent, "start", agent, 1},
           {start + "\\Stop Agent Service.lnk", agent, "stop", agent, 2},
       }) {
    ExpectLink(link);
  }
  EXPECT_TRUE(installed_.start_menu_folder_made);
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, OptionsOffMakeNoLinksAndNoStartMenuFolder) {
  struct Case {
    bool start_menu;
    bool desktop;
    std::vector<std::string> start_menu_links;
    std::vector<std::string> desktop_links;
  };
  for (const Case& c : std::vector<Case>{
           {false, true, {}, {"Readme.lnk"}},
           {true,
            false,
            {"Readme.lnk", "Settings.lnk", "Start Agent Service.lnk", "Stop Agent Service.lnk", "Viewer.lnk"},
            {}},
       }) {
    SCOPED_TRACE(c.start_menu);
    DeleteFolderTree((root_ / "User\\Start Menu").c_str(), false);
    DeleteFileLogged(Desktop(package_).c_str(), "Readme.lnk", DeleteReport::kSilent);
    installed_.start_menu_folder_made = false;
    package_.start_menu_shortcuts = c.start_menu;
    package_.desktop_shortcut = c.desktop;
    InstallFiles();
    EXPECT_EQ(PathExists(StartMenu(package_).c_str()), c.start_menu);
    EXPECT_EQ(installed_.start_menu_folder_made, c.start_menu);
    EXPECT_EQ(FilesIn(StartMenu(package_)), c.start_menu_links);
    EXPECT_EQ(FilesIn(Desktop(package_)), c.desktop_links);
  }
}

TEST_F(ShortcutsTest, SetupCopyAndItsLink) {
  setup_copies_written = 0;
  Text copy;
  InstallSetupCopy(copy);
  const std::string expected_copy = program_ + "\\" + product_ + "_Setup.exe";
  EXPECT_EQ(copy.c_str(), expected_copy);
  EXPECT_EQ(ReadTestFile(expected_copy), "setup copy");
  ExpectLink({StartMenu(package_) + "\\" + product_ + "_Setup.lnk", expected_copy, "", "", 0});

  // Run from the copy itself: nothing to write.
  package_path_ = expected_copy;
  InstallSetupCopy(copy);
  EXPECT_EQ(setup_copies_written, 1);
  EXPECT_FALSE(package_.uninstall_batch_pending);
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, FirstInstallTouchesNoFileOfTheCurrentFolder) {
  // The installed record of a first install has no program folder.
  const std::string here = root_ / "Download";
  CreateDirectoryA(here.c_str(), nullptr);
  WriteTestFile(here + "\\" + product_ + "_Setup.exe", "someone's download");
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(here.c_str());
  Text copy;
  InstallSetupCopy(copy);
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(ReadTestFile(here + "\\" + product_ + "_Setup.exe"), "someone's download");
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, MovedProgramFolderRetiresTheOldCopyUnlessItIsRunning) {
  const std::string old_folder = root_ / "Old";
  const std::string old_copy = old_folder + "\\" + product_ + "_Setup.exe";
  CreateDirectoryA(old_folder.c_str(), nullptr);
  SetPackage(installed_, false);
  installed_.program_folder.Assign(old_folder.c_str());
  Text copy;

  WriteTestFile(old_copy, "old copy");
  InstallSetupCopy(copy);
  EXPECT_FALSE(PathExists(old_copy.c_str()));
  EXPECT_FALSE(package_.uninstall_batch_pending);

  // This run is the old copy: the batch removes it after the run.
  WriteTestFile(old_copy, "old copy");
  package_path_ = old_copy;
  InstallSetupCopy(copy);
  EXPECT_TRUE(PathExists(old_copy.c_str()));
  EXPECT_TRUE(package_.uninstall_batch_pending);
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, UpdateToAllUsersMovesEveryLinkToTheCommonFolders) {
  Text copy;
  InstallFiles();
  InstallSetupCopy(copy);

  // The next run: what was installed for the current user, now for all users.
  installed_ = package_;
  installed_.start_menu_folder_made = false;
  ProductRecord old_record = installed_;
  SetPackage(package_, true);
  for (std::size_t i = 2; i <= package_.FileCount(); ++i) {
    if (package_.Record(i).destination != 2) ReplaceFileShortcuts(Run(), old_record.Record(i), package_.Record(i));
  }
  InstallFiles();
  InstallSetupCopy(copy);

  EXPECT_EQ(FilesIn(StartMenu(old_record)), std::vector<std::string>{});
  EXPECT_EQ(FilesIn(Desktop(old_record)), std::vector<std::string>{});
  EXPECT_EQ(FilesIn(StartMenu(package_)),
            (std::vector<std::string>{"Readme.lnk", "Settings.lnk", "Start Agent Service.lnk", "Stop Agent Service.lnk",
                                      product_ + "_Setup.lnk", "Viewer.lnk"}));
  EXPECT_EQ(FilesIn(Desktop(package_)), std::vector<std::string>{"Readme.lnk"});
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, UpdateRemovesTheLinksTheNewRecordNoLongerAsksFor) {
  InstallFiles();
  installed_ = package_;
  const FileRecord readme = package_.Record(3);
  const FileRecord viewer = package_.Record(2);
  const FileRecord agent = package_.Record(4);
  const std::string start = StartMenu(package_);

  // Same scope, same kinds: every link stays for the file pass to overwrite.
  for (std::size_t i : {2, 3, 4}) ReplaceFileShortcuts(Run(), package_.Record(i), package_.Record(i));
  EXPECT_EQ(FilesIn(start).size(), 5u);
  EXPECT_EQ(FilesIn(Desktop(package_)), std::vector<std::string>{"Readme.lnk"});

  // Readme loses its desktop link, Viewer every link; with the start-menu
  // option off, the service links go too.
  ReplaceFileShortcuts(Run(), readme, File("Readme.txt", ShortcutKind::kStartMenu, 1));
  ReplaceFileShortcuts(Run(), viewer, File("Viewer.Pro.exe", ShortcutKind::kNone));
  EXPECT_EQ(FilesIn(Desktop(package_)), std::vector<std::string>{});
  EXPECT_EQ(FilesIn(start), (std::vector<std::string>{"Readme.lnk", "Settings.lnk", "Start Agent Service.lnk",
                                                      "Stop Agent Service.lnk"}));
  package_.start_menu_shortcuts = false;
  ReplaceFileShortcuts(Run(), agent, agent);
  EXPECT_EQ(FilesIn(start), (std::vector<std::string>{"Readme.lnk", "Settings.lnk"}));
  EXPECT_TRUE(log_.errors.empty());

  // A service file that is no longer one has its service uninstalled; a
  // service that is gone already (the test's never existed) counts as
  // removed, and only its links go.
  package_.start_menu_shortcuts = true;
  installed_.start_menu_shortcuts = true;
  ReplaceFileShortcuts(Run(), agent, File("Agent.exe", ShortcutKind::kNone, 0, false));
  EXPECT_EQ(FilesIn(start), (std::vector<std::string>{"Readme.lnk", "Settings.lnk"}));
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(ShortcutsTest, RemovalDeletesEveryLinkAndTheSetupCopy) {
  Text copy;
  InstallFiles();
  InstallSetupCopy(copy);
  installed_ = package_;
  // A link that the user deleted already is no failure.
  DeleteFileLogged(StartMenu(installed_).c_str(), "Viewer.lnk", DeleteReport::kSilent);

  for (std::size_t i = 2; i <= installed_.FileCount(); ++i) RemoveFileShortcuts(installed_, installed_.Record(i));
  RemoveServiceShortcuts(installed_, "Agent");
  EXPECT_FALSE(RemoveSetupCopy(installed_, product_.c_str(), "C:\\Downloads\\Product_Setup.exe"));
  EXPECT_FALSE(PathExists(copy.c_str()));
  EXPECT_EQ(FilesIn(StartMenu(installed_)), std::vector<std::string>{});
  EXPECT_EQ(FilesIn(Desktop(installed_)), std::vector<std::string>{});

  // The running copy cannot be deleted: it stays for the uninstall batch.
  WriteTestFile(copy.c_str(), "running");
  KernelHandle running(CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(RemoveSetupCopy(installed_, product_.c_str(), copy.c_str()));
  // Started through another path to the same file (its short name, another
  // spelling of the path), it is still the running copy.
  char short_path[MAX_PATH] = "";
  GetShortPathNameA(copy.c_str(), short_path, MAX_PATH);
  for (const std::string& other : {std::string(short_path), "\\\\?\\" + std::string(copy.c_str())}) {
    SCOPED_TRACE(other);
    EXPECT_STRCASENE(other.c_str(), copy.c_str());
    EXPECT_TRUE(RemoveSetupCopy(installed_, product_.c_str(), other.c_str()));
  }
  EXPECT_TRUE(log_.errors.empty());
  EXPECT_TRUE(log_.lines.empty()) << "the setup copy is deleted silently";

  // Held open by another program while a download runs the uninstall: it
  // is not the batch's to delete, and the uninstall stops.
  EXPECT_THROW(RemoveSetupCopy(installed_, product_.c_str(), "C:\\Downloads\\Product_Setup.exe"), AbortError);
  running.Reset();
  EXPECT_EQ(log_.lines, std::vector<std::string>{"File NOT deleted: " + std::string(copy.c_str())});
  EXPECT_TRUE(PathExists(copy.c_str()));
}

TEST_F(ShortcutsTest, FailuresNameTheFolderOrTheLink) {
  const std::string start = StartMenu(package_);
  const std::string desktop = Desktop(package_);
  const std::string readme = program_ + "\\Readme.txt";
  WriteTestFile(readme, "content");
  WriteTestFile(program_ + "\\Viewer.Pro.exe", "content");
  const FileRecord& readme_record = package_.Record(3);

  // The start-menu folder cannot be made below a file.
  WriteTestFile(root_ / "User\\Start Menu", "a file");
  EXPECT_THROW(MakeFileShortcuts(Run(), readme_record, readme.c_str()), AbortError);
  EXPECT_FALSE(installed_.start_menu_folder_made);
  DeleteFileA((root_ / "User\\Start Menu").c_str());

  // A folder in the link's place.
  CreateFolderChain((start + "\\Readme.lnk").c_str(), false);
  EXPECT_THROW(MakeFileShortcuts(Run(), readme_record, readme.c_str()), AbortError);
  RemoveDirectoryA((start + "\\Readme.lnk").c_str());

  CreateDirectoryA((desktop + "\\Readme.lnk").c_str(), nullptr);
  EXPECT_THROW(MakeFileShortcuts(Run(), readme_record, readme.c_str()), AbortError);

  // The same folder cannot be deleted as an old link.
  installed_ = package_;
  EXPECT_THROW(RemoveFileShortcuts(installed_, readme_record), AbortError);
  RemoveDirectoryA((desktop + "\\Readme.lnk").c_str());

  EXPECT_EQ(log_.errors, (std::vector<std::string>{
                             "Start Men\xFC"
                             " directory " +
                                 start + " not created",
                             "Start menu shortcut " + start + "\\Readme.lnk not created",
                             "Desktop shortcut " + desktop + "\\Readme.lnk not created",
                         }));
  EXPECT_EQ(log_.lines.back(), "File NOT deleted: " + desktop + "\\Readme.lnk");
}

}  // namespace
