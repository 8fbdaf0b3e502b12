// The rights of a program folder made outside Program Files: which folder of
// a path the setup makes first, which paths lie in Program Files, and the
// protected DACL read back from the folder itself.
#include "system/program_folder_rights.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "test_folder.h"

namespace {

std::string ProgramFiles() {
  char path[MAX_PATH] = "";
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
  return path;
}

}  // namespace

TEST(ProgramFolderRights, TheFirstMissingFolderIsTheHighestTheSetupMakes) {
  TestFolder root;
  CreateDirectoryA((root / "Apps").c_str(), nullptr);
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {root / "Apps\\Tarnell\\Product", root / "Apps\\Tarnell"},
      {root / "Apps\\Tarnell\\", root / "Apps\\Tarnell"},
      {root / "Apps", ""},
      {root / "Apps\\", ""},
      {root / "New\\Apps", root / "New"},
      {"Q:\\Product", "Q:\\Product"},
  };
  for (const Case& c : cases) EXPECT_STREQ(FirstMissingFolder(c.path.c_str()).c_str(), c.expected.c_str()) << c.path;
}

TEST(ProgramFolderRights, ProgramFilesIsTheShellsFolderAndWhatLiesInIt) {
  std::string program_files = ProgramFiles();
  EXPECT_TRUE(LiesUnderProgramFiles(program_files.c_str()));
  EXPECT_TRUE(LiesUnderProgramFiles((program_files + "\\Tarnell\\Product").c_str()));
  EXPECT_FALSE(LiesUnderProgramFiles((program_files + "Tarnell").c_str()));
  EXPECT_FALSE(LiesUnderProgramFiles("C:\\Apps\\Tarnell"));
}

// Wine keeps no DACL on a file: it maps one onto the Unix mode bits and
// reads back the owner and Everyone. So the descriptor the setup hands over
// is checked entry by entry, and the folder read back for what Wine keeps.
TEST(ProgramFolderRights, ProtectedDaclGivesUsersReadAndExecuteOnly) {
  LocalMemory handed;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(kProgramFolderAccess, SDDL_REVISION_1,
                                                                   handed.Receive(), nullptr));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(handed.Get(), &control, &revision));
  EXPECT_NE(control & SE_DACL_PROTECTED, 0) << "would inherit from the drive";
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(handed.Get(), &present, &dacl, &defaulted));
  ASSERT_TRUE(present && dacl != nullptr);

  struct Expected {
    WELL_KNOWN_SID_TYPE who;
    ACCESS_MASK rights;
  };
  const Expected expected[] = {
      {WinLocalSystemSid, FILE_ALL_ACCESS},
      {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
      {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE},
  };
  ASSERT_EQ(dacl->AceCount, 3u);
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    ASSERT_TRUE(CreateWellKnownSid(expected[i].who, nullptr, sid, &size));
    EXPECT_TRUE(EqualSid(&ace->SidStart, sid)) << i;
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_EQ(ace->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
    EXPECT_EQ(ace->Mask, expected[i].rights) << i;
  }
  // Users may neither write, delete nor change the rights.
  EXPECT_EQ(expected[2].rights & (FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER), 0u);

  TestFolder root;
  std::string folder = root / "Apps";
  CaptureLogger log;
  CreateProgramFolder((folder + "\\Product").c_str());
  for (const std::string& made : {folder, folder + "\\Product"}) {
    LocalMemory read_back;
    PACL kept = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoA(made.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &kept,
                                    nullptr, read_back.Receive()),
              static_cast<DWORD>(ERROR_SUCCESS));
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof everyone;
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size));
    for (DWORD i = 0; kept != nullptr && i < kept->AceCount; ++i) {
      ACCESS_ALLOWED_ACE* ace = nullptr;
      ASSERT_TRUE(GetAce(kept, i, reinterpret_cast<void**>(&ace)));
      if (EqualSid(&ace->SidStart, everyone)) {
        EXPECT_EQ(ace->Mask, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) << made;
      }
    }
    EXPECT_FALSE(UsersMayWrite(made.c_str())) << made;
  }
  EXPECT_TRUE(log.lines.empty());
}

namespace {

// What the setup hands to CreateDirectory, seen through the machine's calls.
struct MadeFolder {
  std::string path;
  bool protected_dacl;
};
std::vector<MadeFolder> made_folders;
// The folder a user makes just before the setup does.
std::string made_first;

BOOL WINAPI RecordCreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  bool protected_dacl = security != nullptr && security->lpSecurityDescriptor != nullptr &&
                        GetSecurityDescriptorControl(security->lpSecurityDescriptor, &control, &revision) &&
                        (control & SE_DACL_PROTECTED) != 0;
  made_folders.push_back({path, protected_dacl});
  if (made_first == path) CreateDirectoryA(path, nullptr);
  return CreateDirectoryA(path, security);
}

// Puts the recorder in for one call of CreateProgramFolder.
void CreateRecorded(const std::string& path) {
  made_folders.clear();
  auto system_call = Machine().create_directory;
  Machine().create_directory = RecordCreateDirectory;
  try {
    CreateProgramFolder(path.c_str());
  } catch (...) {
    Machine().create_directory = system_call;
    throw;
  }
  Machine().create_directory = system_call;
}

}  // namespace

// Every missing folder of the chain is born protected, none is protected
// afterwards; under Program Files each inherits its rules.
TEST(ProgramFolderRights, EachMissingFolderIsCreatedWithTheProtectedRules) {
  TestFolder root;
  CaptureLogger log;
  CreateRecorded(root / "Apps\\Tarnell\\Product");
  ASSERT_EQ(made_folders.size(), 3u);
  for (const MadeFolder& made : made_folders) EXPECT_TRUE(made.protected_dacl) << made.path;
  EXPECT_EQ(made_folders[0].path, root / "Apps");
  EXPECT_EQ(made_folders[2].path, root / "Apps\\Tarnell\\Product");

  std::string under_program_files = ProgramFiles() + "\\Tarnell Test " + std::to_string(GetCurrentProcessId());
  CreateRecorded(under_program_files + "\\Product");
  ASSERT_EQ(made_folders.size(), 2u);
  for (const MadeFolder& made : made_folders) EXPECT_FALSE(made.protected_dacl) << made.path;
  RemoveDirectoryA((under_program_files + "\\Product").c_str());
  RemoveDirectoryA(under_program_files.c_str());
  EXPECT_TRUE(log.lines.empty());
}

// A user who makes the missing folder first chooses its rules: the run ends.
TEST(ProgramFolderRights, AFolderThatAppearsInBetweenEndsTheRun) {
  TestFolder root;
  made_first = root / "Apps\\Tarnell";
  CaptureLogger log;
  EXPECT_THROW(CreateRecorded(root / "Apps\\Tarnell\\Product"), AbortError);
  made_first.clear();
  EXPECT_EQ(log.errors, std::vector<std::string>{"Directory NOT created: " + root / "Apps\\Tarnell"});
  EXPECT_EQ(GetFileAttributesA((root / "Apps\\Tarnell\\Product").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Folders that were there are left as they are; one users may write to is
// named in the log. Wine keeps the rules as Unix mode bits, Everyone's
// entry standing for the others' bits.
TEST(ProgramFolderRights, AnExistingFolderUsersMayWriteToIsReported) {
  TestFolder root;
  std::string open_folder = root / "Open";
  std::string closed_folder = root / "Closed";
  ASSERT_TRUE(CreateDirectoryA(open_folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(closed_folder.c_str(), nullptr));
  LocalMemory everyone_writes;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      "D:(A;OICI;FA;;;BA)(A;OICI;FA;;;WD)", SDDL_REVISION_1, everyone_writes.Receive(), nullptr));
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(everyone_writes.Get(), &present, &dacl, &defaulted));
  ASSERT_EQ(SetNamedSecurityInfoA(const_cast<char*>(open_folder.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, dacl, nullptr),
            static_cast<DWORD>(ERROR_SUCCESS));

  CaptureLogger log;
  CreateRecorded(open_folder);
  CreateRecorded(closed_folder);
  EXPECT_TRUE(made_folders.empty());
  EXPECT_EQ(log.lines, std::vector<std::string>{"Warning: users may write to the program directory " + open_folder});
}
