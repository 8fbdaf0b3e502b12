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

#include "fs/machine_calls.h"
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
  PSECURITY_DESCRIPTOR handed = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorA(kProgramFolderAccess, SDDL_REVISION_1, &handed, nullptr));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(handed, &control, &revision));
  EXPECT_NE(control & SE_DACL_PROTECTED, 0) << "would inherit from the drive";
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(handed, &present, &dacl, &defaulted));
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
  LocalFree(handed);

  TestFolder root;
  std::string folder = root / "Apps";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(ProtectProgramFolder(folder.c_str()));
  PSECURITY_DESCRIPTOR read_back = nullptr;
  PACL kept = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &kept,
                                  nullptr, &read_back),
            static_cast<DWORD>(ERROR_SUCCESS));
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof everyone;
  ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size));
  for (DWORD i = 0; kept != nullptr && i < kept->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(kept, i, reinterpret_cast<void**>(&ace)));
    if (EqualSid(&ace->SidStart, everyone)) {
      EXPECT_EQ(ace->Mask, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE);
    }
  }
  LocalFree(read_back);
}

// The folder's rules are a change to the machine: refused, the folder keeps
// the rules it inherits and the caller hears of it.
TEST(ProgramFolderRights, ProtectingGoesThroughTheMachinesCalls) {
  TestFolder root;
  std::string folder = root / "Apps";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  SetMachineChangeGate([](MachineChange) -> DWORD { return ERROR_ACCESS_DENIED; });
  bool protected_now = ProtectProgramFolder(folder.c_str());
  SetMachineChangeGate(nullptr);
  EXPECT_FALSE(protected_now);
  PSECURITY_DESCRIPTOR read_back = nullptr;
  PACL dacl = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                  nullptr, &read_back),
            static_cast<DWORD>(ERROR_SUCCESS));
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(read_back, &control, &revision));
  EXPECT_EQ(control & SE_DACL_PROTECTED, 0) << "the refused rules were set all the same";
  LocalFree(read_back);
}
