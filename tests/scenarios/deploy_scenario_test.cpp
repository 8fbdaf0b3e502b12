// tarnell-deploy as administrators use it: status, install with options and
// uninstall by product name on a fresh machine, the exit code of each
// failure, and one run of a product's setup at a time.
#include <windows.h>

#include <sddl.h>

#include <fstream>

#include "scenario_support.h"

namespace {

// The lock every run of Scenic's setup takes. Setups of different builds
// must agree on it, so the name is spelt out here.
constexpr char kScenicLock[] = "Global\\Tarnell Setup SCENIC";

bool HasLine(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& line : lines) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

class Deploy : public ScenarioTest {};

TEST_F(Deploy, TakesAProductThroughStatusInstallUpdateAndUninstallByName) {
  DeployRun fresh = RunDeploy({"status", SetupPath("scenic-1.0")});
  EXPECT_EQ(fresh.exit_code, 0u);
  EXPECT_EQ(fresh.output, (std::vector<std::string>{"product: Scenic", "version: 1.0", "patch: no", "installed: no",
                                                    "mode: Install", "install_enabled: yes", "uninstall_enabled: no"}));
  EXPECT_TRUE(fresh.Logged("Setup started"));

  const std::string program = "C:\\Apps\\Scenic";
  const std::string copy_log = WorkFolder("logs") + "\\install.log";
  DeployRun install = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program, "--all-users",
                                 "--no-desktop", "--path", "--no-assoc", ".scx", "--log", copy_log});
  EXPECT_EQ(install.exit_code, 0u);
  EXPECT_EQ(install.message, "The installation was successful");
  EXPECT_TRUE(install.errors.empty()) << install.errors.front();
  // Each log line also went to standard output and into the copy.
  std::vector<std::string> printed(install.output.begin(), install.output.end() - 1);
  EXPECT_EQ(printed, install.log);
  EXPECT_EQ(LogLines(WorkFolder("logs")), install.log);

  // The options, read back from the registration.
  const std::string key = UninstallKey("Scenic");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "UninstallString"), "\"" + program + "\\Scenic_Setup.exe\"");
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, key, "Flags"), 1u | 4u | 8u);  // start menu, PATH, all users
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, ".scn", nullptr), "Scenic.scn");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".scx"));

  DeployRun installed = RunDeploy({"status", SetupPath("scenic-1.0"), "--json"});
  EXPECT_EQ(installed.exit_code, 0u);
  ASSERT_EQ(installed.output.size(), 1u);
  for (const char* fact : {"\"installed\":true", "\"installed_version\":\"1.0\"", "\"mode\":\"Repair\"",
                           "\"program_folder\":\"C:\\\\Apps\\\\Scenic\"", "\"all_users\":true", "\"desktop\":false",
                           "\"path\":true", "\"assoc_scx\":false", "\"uninstall_enabled\":true"}) {
    EXPECT_NE(installed.output[0].find(fact), std::string::npos) << fact << " in " << installed.output[0];
  }

  // An update keeps what the installation was made with.
  DeployRun update = RunDeploy({"install", SetupPath("scenic-2.0")});
  EXPECT_EQ(update.exit_code, 0u);
  EXPECT_EQ(RegistryNumber(HKEY_LOCAL_MACHINE, key, "Flags"), 1u | 4u | 8u);
  DeployRun updated = RunDeploy({"status", SetupPath("scenic-2.0")});
  EXPECT_TRUE(Contains(updated.output, "installed_version: 2.0"));
  EXPECT_TRUE(Contains(updated.output, "mode: Repair"));

  DeployRun removed = RunDeploy({"uninstall", "--product", "scenic"});
  EXPECT_EQ(removed.exit_code, 0u);
  EXPECT_EQ(removed.message, "The Deinstallation was successful.");
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, key));
  // The batch takes the setup copy and the folder once the tool has ended.
  EXPECT_TRUE(WaitUntilGone(program, 30)) << program;
  EXPECT_TRUE(Contains(RunDeploy({"status", SetupPath("scenic-2.0")}).output, "installed: no"));
}

struct FailureCase {
  const char* name;
  std::vector<std::string> arguments;  // "SETUP" is scenic-1.0, "DAMAGED" a cut copy of it
  DWORD exit_code;
  const char* error;  // a part of what standard error says
};

class DeployFailure : public ScenarioTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DeployFailure, ExitsWithItsCodeAndLeavesTheMachineAlone) {
  const FailureCase& c = GetParam();
  std::string damaged = WorkFolder("setups") + "\\Scenic_Setup.exe";
  {
    std::string bytes = FileBytes(SetupPath("scenic-1.0")).value_or("");
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() - 100);
  }
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(argument == "SETUP" ? SetupPath("scenic-1.0") : argument == "DAMAGED" ? damaged : argument);
  }
  Snapshot before = TakeSnapshot();
  DeployRun run = RunDeploy(arguments);
  EXPECT_EQ(run.exit_code, c.exit_code);
  EXPECT_TRUE(HasLine(run.errors, c.error)) << "standard error: " << (run.errors.empty() ? "" : run.errors.back());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  std::vector<std::string> outside = WrittenOutside(before, TakeSnapshot(), {});
  EXPECT_TRUE(outside.empty()) << outside.front();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DeployFailure,
    ::testing::Values(
        FailureCase{"NoCommand", {}, 2, "usage: tarnell-deploy"},
        FailureCase{"UnknownOption", {"install", "SETUP", "--quiet"}, 2, "unknown or incomplete option --quiet"},
        FailureCase{"InstallOptionToStatus", {"status", "SETUP", "--path"}, 2, "--path belongs to install"},
        FailureCase{"FolderTooLong",
                    {"install", "SETUP", "--program-folder", "C:\\" + std::string(600, 'a')},
                    2,
                    "Text is too long"},
        FailureCase{"UnknownFileType", {"install", "SETUP", "--assoc", "doc"}, 2, "no association for .doc"},
        FailureCase{"NotInstalled", {"uninstall", "SETUP"}, 2, "the product is not installed"},
        FailureCase{"ProductNotInstalled", {"uninstall", "--product", "Scenic"}, 2, "Scenic is not installed"},
        FailureCase{"Damaged", {"install", "DAMAGED"}, 3, "the package was refused"},
        FailureCase{"Missing", {"status", "C:\\nowhere\\Setup.exe"}, 3, "cannot open"}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return std::string(param.param.name); });

TEST_F(Deploy, AnAdministratorWhoseRightsAreFilteredIsRefusedWith4) {
  // Under UAC an administrator who has not elevated holds the group for
  // denying only.
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       &administrators));
  HANDLE token = nullptr;
  HANDLE filtered = nullptr;
  SID_AND_ATTRIBUTES deny{administrators, 0};
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token));
  ASSERT_TRUE(CreateRestrictedToken(token, 0, 1, &deny, 0, nullptr, 0, nullptr, &filtered));
  const std::string temp = WorkFolder("temp");
  EXPECT_EQ(RunProgram(DeployPath(), {"install", SetupPath("scenic-1.0")}, temp, temp + "\\..\\out.txt",
                       temp + "\\..\\err.txt", filtered),
            4u);
  EXPECT_NE(FileBytes(temp + "\\..\\err.txt").value_or("").find("needs an elevated administrator"), std::string::npos);
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  CloseHandle(filtered);
  CloseHandle(token);
  FreeSid(administrators);
}

// The window of a setup run, once it shows; null after `seconds`.
HWND WaitForSetupWindow(const char* title, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (HWND window = FindWindowA("MyApp", title)) return window;
    Sleep(100);
  }
  return nullptr;
}

TEST_F(Deploy, SecondRunWhileTheFirstHoldsTheProductEndsAtOnce) {
  const std::string program = "C:\\Apps\\Scenic";
  // The first run: the setup window, open until the test ends it.
  const std::string first_temp = WorkFolder("first-temp");
  HANDLE first = StartProgram(SetupPath("scenic-1.0"), {}, first_temp, first_temp + "\\..\\first-out.txt",
                              first_temp + "\\..\\first-err.txt");
  ASSERT_NE(first, nullptr);
  HWND window = WaitForSetupWindow("Scenic Setup", 30);
  if (window == nullptr) {
    TerminateProcess(first, 1);
    CloseHandle(first);
    GTEST_SKIP() << "the setup window did not show (no display?)";
  }
  HANDLE lock = OpenMutexA(SYNCHRONIZE, FALSE, kScenicLock);
  ASSERT_NE(lock, nullptr) << "the window holds no lock of that name";
  EXPECT_EQ(WaitForSingleObject(lock, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(lock);

  DeployRun second = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(second.exit_code, 5u);
  EXPECT_TRUE(HasLine(second.errors, "another run of this product's setup is in progress"));
  EXPECT_TRUE(second.Logged("Another setup of Scenic is running"));
  EXPECT_FALSE(Exists(program));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  // The product's name alone is enough to meet the lock.
  EXPECT_EQ(RunDeploy({"uninstall", "--product", "SCENIC"}).exit_code, 5u);

  // A second window ends at once with its line, and brings the first back.
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(window));
  const std::string temp = WorkFolder("second-temp");
  EXPECT_EQ(RunProgram(SetupPath("scenic-1.0"), {}, temp, temp + "\\..\\out.txt", temp + "\\..\\err.txt"), 0u);
  std::vector<std::string> log = LogLines(temp);
  EXPECT_TRUE(Contains(log, "Another setup of Scenic is running"));
  EXPECT_EQ(log.back(), "Setup ended");
  EXPECT_FALSE(IsIconic(window));

  // Once the first run has ended, even killed, the next one installs.
  TerminateProcess(first, 0);
  WaitForSingleObject(first, 10000);
  CloseHandle(first);
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
}

// Any user may make the lock's mutex first, and hold it for ever. That is no
// run of the setup: it is reported as what it is, not as a concurrent run.
TEST_F(Deploy, ALockMadeByAUserWhoIsNoAdministratorIsReportedAsSuch) {
  // Owned by the built-in Users, as a user's own object would be; open to all.
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("O:BUD:(A;;GA;;;WD)", SDDL_REVISION_1,
                                                                   &attributes.lpSecurityDescriptor, nullptr));
  HANDLE squatter = CreateMutexA(&attributes, TRUE, kScenicLock);
  LocalFree(attributes.lpSecurityDescriptor);
  ASSERT_NE(squatter, nullptr);
  ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a run of the setup is going on";

  const std::string program = "C:\\Apps\\Scenic";
  DeployRun install = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(install.exit_code, 5u);
  EXPECT_TRUE(HasLine(install.errors, "the product's lock is held by a program that no administrator started"));
  EXPECT_FALSE(HasLine(install.errors, "another run"));
  EXPECT_TRUE(install.Logged("The lock of Scenic is held by a program that no administrator started"));
  EXPECT_FALSE(Exists(program));
  // Not even once the user lets go of it: the mutex is still theirs.
  ReleaseMutex(squatter);
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 5u);
  CloseHandle(squatter);
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
}

}  // namespace
