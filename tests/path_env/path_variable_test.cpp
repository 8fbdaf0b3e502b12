// The program folder on the "Path" variable, in Wine's real registry: the
// examples the setup must meet, whole-entry matching, a value far beyond
// 4096 bytes kept whole, the switch between the user's and the machine's
// Path, and refused writes. Each test restores both real Path values.
#include "system/path_variable.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "capture_logger.h"
#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "registry_values.h"
#include "system/registry_values.h"

namespace {

constexpr char kMachineKey[] = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr char kUserKey[] = "Environment";

HKEY Root(bool all_users) { return all_users ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
const char* KeyPath(bool all_users) { return all_users ? kMachineKey : kUserKey; }

std::optional<RegistryValue> ReadStored(bool all_users) {
  return ReadRegistryValue(Root(all_users), KeyPath(all_users), "Path");
}

void WriteStored(bool all_users, const std::optional<RegistryValue>& stored) {
  RestoreRegistryValue(Root(all_users), KeyPath(all_users), "Path", stored);
}

void SetPath(bool all_users, const char* text, DWORD type = REG_EXPAND_SZ) {
  WriteStored(all_users, text ? std::optional<RegistryValue>({type, std::string(text, std::strlen(text) + 1), "Path"})
                              : std::nullopt);
}

// The text of the value; nullopt when there is none.
std::optional<std::string> PathText(bool all_users) {
  std::optional<RegistryValue> stored = ReadStored(all_users);
  if (!stored) return std::nullopt;
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(stored->bytes.back(), '\0') << "written with its NUL";
  return std::string(stored->bytes.c_str());
}

ProductRecord Product(const char* folder, bool all_users) {
  ProductRecord record;
  record.program_folder.Assign(folder);
  record.all_users = all_users;
  record.add_to_path = true;
  return record;
}

// Both Path values are the machine's own: every test holds one lock across
// processes (ctest runs tests in parallel) and puts the values back.
class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lock_.Reset(CreateMutexA(nullptr, FALSE, "TarnellPathTestLock"));
    WaitForSingleObject(lock_.Get(), INFINITE);
    saved_user_ = ReadStored(false);
    saved_machine_ = ReadStored(true);
  }
  void TearDown() override {
    SetMachineChangeGate(nullptr);
    WriteStored(false, saved_user_);
    WriteStored(true, saved_machine_);
    ReleaseMutex(lock_.Get());
  }

  CaptureLogger log_;

 private:
  KernelHandle lock_;
  std::optional<RegistryValue> saved_user_;
  std::optional<RegistryValue> saved_machine_;
};

TEST_F(PathTest, AddAndRemoveLikeTheSetupAlwaysDid) {
  struct Case {
    const char* before;  // nullptr: no value
    const char* folder;
    const char* after_add;
    const char* after_remove;  // nullptr: the value is deleted
  };
  const Case cases[] = {
      {"C:\\Windows;C:\\Tools", "C:\\Programs\\Tarnell", "C:\\Windows;C:\\Tools;C:\\Programs\\Tarnell",
       "C:\\Windows;C:\\Tools"},
      {"C:\\Windows;", "C:\\Programs\\Tarnell", "C:\\Windows;C:\\Programs\\Tarnell", "C:\\Windows"},
      {"A;C:\\PROGRAMS\\tarnell;B", "C:\\Programs\\Tarnell", "A;C:\\PROGRAMS\\tarnell;B", "A;B"},
      {nullptr, "C:\\Programs\\Tarnell", "C:\\Programs\\Tarnell", nullptr},
      {"", "C:\\Programs\\Tarnell", "C:\\Programs\\Tarnell", nullptr},
      // Whole entries only: C:\Tools is neither found in nor cut from a longer entry.
      {"C:\\Tools2;C:\\Tools\\bin", "C:\\Tools", "C:\\Tools2;C:\\Tools\\bin;C:\\Tools", "C:\\Tools2;C:\\Tools\\bin"},
      {"C:\\Tools2;C:\\Tools;C:\\Tools\\bin", "C:\\Tools", "C:\\Tools2;C:\\Tools;C:\\Tools\\bin",
       "C:\\Tools2;C:\\Tools\\bin"},
  };
  for (bool all_users : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(all_users ? "machine: " : "user: ") + (c.before ? c.before : "(none)"));
      SetPath(all_users, c.before);
      ProductRecord record = Product(c.folder, all_users);
      AddProgramFolderToPath(record);
      EXPECT_EQ(PathText(all_users), std::optional<std::string>(c.after_add));
      RemoveProgramFolderFromPath(record);
      EXPECT_EQ(PathText(all_users), c.after_remove ? std::optional<std::string>(c.after_remove) : std::nullopt);
    }
  }
  EXPECT_TRUE(log_.lines.empty());
}

TEST_F(PathTest, AFolderThatIsThereIsNotWrittenAgain) {
  SetPath(false, "C:\\Windows;c:\\programs\\TARNELL", REG_SZ);
  AddProgramFolderToPath(Product("C:\\Programs\\Tarnell", false));
  std::optional<RegistryValue> stored = ReadStored(false);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));  // untouched
}

TEST_F(PathTest, ALongPathIsKeptWhole) {
  std::string path;
  for (int i = 0; path.size() < 6000; ++i) path += "C:\\Some Rather Long Folder Name\\Number" + std::to_string(i) + ";";
  path.pop_back();
  const char* folder = "C:\\Programs\\Tarnell";
  for (bool all_users : {false, true}) {
    SCOPED_TRACE(all_users);
    SetPath(all_users, path.c_str());
    ProductRecord record = Product(folder, all_users);
    AddProgramFolderToPath(record);
    EXPECT_EQ(PathText(all_users), path + ";" + folder);
    RemoveProgramFolderFromPath(record);
    EXPECT_EQ(PathText(all_users), path);
  }
}

TEST_F(PathTest, AValueThatIsNoTextIsNeverReplaced) {
  SetRegistryNumber(HKEY_CURRENT_USER, kUserKey, "Path", 7);

  ProductRecord record = Product("C:\\Programs\\Tarnell", false);
  AddProgramFolderToPath(record);
  RemoveProgramFolderFromPath(record);
  std::optional<RegistryValue> stored = ReadStored(false);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(log_.lines.size(), 1u);
  EXPECT_EQ(log_.lines[0], "Program directory NOT added to PATH");
}

TEST_F(PathTest, UpdateMovesTheEntryToTheNewScopeAndFolder) {
  struct Case {
    const char* what;
    ProductRecord installed;
    ProductRecord package;
    const char* user_after;
    const char* machine_after;
  };
  ProductRecord off = Product("C:\\New", true);
  off.add_to_path = false;
  const Case cases[] = {
      {"current user to all users", Product("C:\\Old", false), Product("C:\\Old", true), "U", "M;C:\\Old"},
      {"another folder", Product("C:\\Old", false), Product("C:\\New", false), "U;C:\\New", "M"},
      {"same folder in another case", Product("C:\\Old", false), Product("c:\\old", false), "U;C:\\Old", "M"},
      {"option turned off", Product("C:\\Old", false), off, "U", "M"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetPath(false, "U;C:\\Old");
    SetPath(true, "M");
    UpdatePath(c.package, c.installed);
    EXPECT_EQ(PathText(false), std::optional<std::string>(c.user_after));
    EXPECT_EQ(PathText(true), std::optional<std::string>(c.machine_after));
  }
}

// The n-th registry change fails.
int changes_seen = 0;
DWORD FailFirstChange(MachineChange) { return ++changes_seen == 1 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS; }

TEST_F(PathTest, RefusedWritesAreReported) {
  ProductRecord record = Product("C:\\Programs\\Tarnell", false);
  SetPath(false, "C:\\Windows");
  changes_seen = 0;
  SetMachineChangeGate(FailFirstChange);
  AddProgramFolderToPath(record);  // the install goes on
  EXPECT_EQ(PathText(false), std::optional<std::string>("C:\\Windows"));
  ASSERT_EQ(log_.lines.size(), 1u);
  EXPECT_EQ(log_.lines[0], "Program directory NOT added to PATH");
  EXPECT_TRUE(log_.errors.empty());

  // Removal: a refused write and a refused deletion both abort.
  for (const char* before : {"C:\\Windows;C:\\Programs\\Tarnell", "C:\\Programs\\Tarnell"}) {
    SCOPED_TRACE(before);
    SetPath(false, before);
    changes_seen = 0;
    log_.errors.clear();
    EXPECT_THROW(RemoveProgramFolderFromPath(record), AbortError);
    ASSERT_EQ(log_.errors.size(), 1u);
    EXPECT_EQ(log_.errors[0], "Program directory NOT removed in PATH");
    EXPECT_EQ(PathText(false), std::optional<std::string>(before));
  }
}

}  // namespace
