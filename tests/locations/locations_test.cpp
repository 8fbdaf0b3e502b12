// Install locations from Wine's real "User Shell Folders" values, the shell's
// answer where a value is missing, the setup copy's path, and the removal of
// emptied parent folders.
#include "system/locations.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "registry_values.h"
#include "test_folder.h"

namespace {

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK) << csidl;
  return path;
}

std::string Expanded(const char* text) {
  char out[1024] = "";
  ExpandEnvironmentStringsA(text, out, sizeof out);
  return out;
}

TEST(Locations, DefaultFoldersLieInTheSharedPublisherFolders) {
  EXPECT_STREQ(DefaultProgramFolder().c_str(), (ShellFolder(CSIDL_PROGRAM_FILES) + "\\Tarnell").c_str());
  EXPECT_STREQ(DefaultDataFolder(false).c_str(), (ShellFolder(CSIDL_APPDATA) + "\\Tarnell").c_str());
  EXPECT_STREQ(DefaultDataFolder(true).c_str(), (ShellFolder(CSIDL_COMMON_APPDATA) + "\\Tarnell").c_str());
  // The user's value is stored unexpanded (%USERPROFILE%\...): it must come out expanded.
  EXPECT_EQ(std::string(DefaultDataFolder(false).c_str()).find('%'), std::string::npos);
}

// The elevated setup runs with the environment of the user who elevated it,
// who can set %ProgramFiles% to a folder of their own.
TEST(Locations, DefaultProgramFolderComesFromTheShellNotTheEnvironment) {
  std::string saved = Expanded("%ProgramFiles%");
  ASSERT_TRUE(SetEnvironmentVariableA("ProgramFiles", "C:\\users\\Public\\Planted"));
  std::string shell = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Tarnell";
  EXPECT_EQ(shell.find("Planted"), std::string::npos) << shell;
  EXPECT_STREQ(DefaultProgramFolder().c_str(), shell.c_str());
  SetEnvironmentVariableA("ProgramFiles", saved.c_str());
}

// The same for the all-users folders: their "User Shell Folders" values
// hold %ProgramData% and %PUBLIC%, which the user's HKCU\Environment sets.
TEST(Locations, AllUsersFoldersComeFromTheShellNotTheEnvironment) {
  const char* const variables[] = {"ProgramData", "PUBLIC", "ALLUSERSPROFILE"};
  std::string saved[3];
  for (int i = 0; i < 3; ++i) {
    saved[i] = Expanded((std::string("%") + variables[i] + "%").c_str());
    ASSERT_TRUE(SetEnvironmentVariableA(variables[i], "C:\\users\\Public\\Planted"));
  }
  std::string data = DefaultDataFolder(true).c_str();
  ProductRecord record;
  record.all_users = true;
  ResolveShortcutFolders(record);
  for (int i = 0; i < 3; ++i) SetEnvironmentVariableA(variables[i], saved[i].c_str());
  for (const std::string& folder :
       {data, std::string(record.start_menu_folder.c_str()), std::string(record.desktop_folder.c_str())}) {
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(folder.find("Planted"), std::string::npos) << folder;
  }
  EXPECT_STREQ(data.c_str(), (ShellFolder(CSIDL_COMMON_APPDATA) + "\\Tarnell").c_str());
}

TEST(Locations, ShortcutFoldersFollowTheAllUsersFlag) {
  for (bool all_users : {false, true}) {
    SCOPED_TRACE(all_users);
    ProductRecord record;
    record.all_users = all_users;
    ResolveShortcutFolders(record);
    std::string programs = ShellFolder(all_users ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS);
    std::string desktop = ShellFolder(all_users ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY);
    EXPECT_STREQ(record.start_menu_folder.c_str(), (programs + "\\Tarnell").c_str());
    EXPECT_STREQ(record.desktop_folder.c_str(), desktop.c_str());
  }
}

constexpr char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Removes a "User Shell Folders" value for the test's length.
class MissingShellFolderValue {
 public:
  explicit MissingShellFolderValue(const char* name)
      : name_(name), saved_(ReadRegistryValue(HKEY_CURRENT_USER, kUserShellFolders, name)) {
    RestoreRegistryValue(HKEY_CURRENT_USER, kUserShellFolders, name_, std::nullopt);
  }
  ~MissingShellFolderValue() { RestoreRegistryValue(HKEY_CURRENT_USER, kUserShellFolders, name_, saved_); }

 private:
  const char* name_;
  std::optional<RegistryValue> saved_;
};

TEST(Locations, AMissingValueIsAskedOfTheShell) {
  std::string expected_data = ShellFolder(CSIDL_APPDATA) + "\\Tarnell";
  std::string expected_programs = ShellFolder(CSIDL_PROGRAMS) + "\\Tarnell";
  MissingShellFolderValue app_data("AppData");
  MissingShellFolderValue programs("Programs");
  EXPECT_STREQ(DefaultDataFolder(false).c_str(), expected_data.c_str());
  ProductRecord record;
  ResolveShortcutFolders(record);
  EXPECT_STREQ(record.start_menu_folder.c_str(), expected_programs.c_str());
}

TEST(Locations, SetupCopyPathIsTheProductNameInTheProgramFolder) {
  ProductRecord record;
  record.program_folder.Assign("C:\\Programs\\Tarnell");
  Text path;
  ASSERT_TRUE(SetupCopyPath(record, "Foo", path));
  EXPECT_STREQ(path.c_str(), "C:\\Programs\\Tarnell\\Foo_Setup.exe");

  // A path that would be cut is refused rather than written somewhere else.
  record.program_folder.Assign(("C:\\" + std::string(500, 'x')).c_str());
  EXPECT_FALSE(SetupCopyPath(record, "Foo", path));
}

TEST(Locations, RemoveEmptyParentsStopsAtTheFirstFolderInUse) {
  TestFolder folder;
  struct Case {
    const char* extra_file;  // keeps its folder in use
    const char* removed;     // the folder the caller removed
    const char* first_left;  // the innermost ancestor that must remain
    const char* gone;        // the outermost ancestor that must be gone
  };
  const Case cases[] = {
      {"Root\\keep.txt", "Root\\A\\B\\C", "Root", "Root\\A"},
      {"Root\\A\\other.txt", "Root\\A\\B\\C", "Root\\A", "Root\\A\\B"},
      {"Root\\A\\other.txt", "Root\\A\\B\\C\\", "Root\\A", "Root\\A\\B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removed);
    std::string removed = folder / c.removed;
    ASSERT_EQ(SHCreateDirectoryExA(nullptr, removed.c_str(), nullptr), ERROR_SUCCESS);
    WriteTestFile(folder / c.extra_file, "in use");
    ASSERT_TRUE(RemoveDirectoryA(removed.c_str()));
    RemoveEmptyParents(removed.c_str());
    EXPECT_NE(GetFileAttributesA((folder / c.first_left).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((folder / c.extra_file).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((folder / c.gone).c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA((folder / c.extra_file).c_str());
  }
}

}  // namespace
