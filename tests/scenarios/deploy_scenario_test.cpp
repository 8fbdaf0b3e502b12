// tarnell-deploy as administrators use it: status, install with options and
// uninstall by product name on a fresh machine, the exit code of each
// failure, and one run of a product's setup at a time.
#include <windows.h>

#include <sddl.h>

#include <fstream>
#include <map>

#include "scenario_support.h"

namespace {

// The locks every run of Scenic's setup takes: the file in the Windows
// folder, and the mutex that earlier versions take. Setups of different
// builds must agree on them, so the names are spelt out here.
constexpr char kScenicLockFile[] = "Tarnell Setup Scenic.lock";
constexpr char kScenicLock[] = "Global\\Tarnell Setup SCENIC";

std::string ScenicLockPath() {
  char windows[MAX_PATH + 1] = {};
  GetSystemWindowsDirectoryA(windows, sizeof windows);
  return std::string(windows) + "\\" + kScenicLockFile;
}

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
  // status only reads: no log either.
  EXPECT_TRUE(fresh.log.empty()) << fresh.log.front();

  // Forward slashes are the administrator's habit, not a relative folder.
  const std::string program = "C:\\Apps\\Scenic";
  // The copy's folder does not exist yet: it is made.
  const std::string logs = WorkFolder("logs") + "\\made\\here";
  const std::string copy_log = logs + "\\install.log";
  DeployRun install = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", "C:/Apps/Scenic",
                                 "--all-users", "--no-desktop", "--path", "--no-assoc", ".scx", "--log", copy_log});
  EXPECT_EQ(install.exit_code, 0u);
  EXPECT_EQ(install.message, "The installation was successful");
  EXPECT_TRUE(install.errors.empty()) << install.errors.front();
  // Each log line also went to standard output and into the copy.
  std::vector<std::string> printed(install.output.begin(), install.output.end() - 1);
  EXPECT_EQ(printed, install.log);
  EXPECT_EQ(LogLines(logs), install.log);

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
  // The installed product by its name alone, as a detection rule asks.
  DeployRun by_name = RunDeploy({"status", "--product", "SCENIC"});
  EXPECT_EQ(by_name.exit_code, 0u);
  for (const char* fact : {"installed_version: 2.0", "program_folder: C:\\Apps\\Scenic", "path: yes"}) {
    EXPECT_TRUE(Contains(by_name.output, fact)) << fact;
  }

  // An older version over the newer one only when the administrator says so.
  DeployRun older = RunDeploy({"install", SetupPath("scenic-1.0")});
  EXPECT_EQ(older.exit_code, 2u);
  EXPECT_TRUE(HasLine(older.errors, "the installed version 2.0 is newer than 1.0: --allow-downgrade"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "DisplayVersion"), "2.0");
  DeployRun downgrade = RunDeploy({"install", SetupPath("scenic-1.0"), "--allow-downgrade", "--quiet"});
  EXPECT_EQ(downgrade.exit_code, 0u);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, "DisplayVersion"), "1.0");
  // --quiet: the outcome, and the record the tests ask for, but no log lines.
  EXPECT_EQ(downgrade.output.front(), "The installation was successful");

  DeployRun removed = RunDeploy({"uninstall", "--product", "scenic"});
  EXPECT_EQ(removed.exit_code, 0u);
  EXPECT_EQ(removed.message, "The Deinstallation was successful.");
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, key));
  // The batch takes the setup copy and the folder once the tool has ended.
  EXPECT_TRUE(WaitUntilGone(program, 30)) << program;
  EXPECT_TRUE(Contains(RunDeploy({"status", SetupPath("scenic-2.0")}).output, "installed: no"));
}

// The same file with its PE header saying it is a program of the other kind.
void WriteOtherKind(const std::string& from, const std::string& to) {
  std::string bytes = FileBytes(from).value_or("");
  std::size_t magic = static_cast<unsigned char>(bytes[0x3C]) + 256 * static_cast<unsigned char>(bytes[0x3D]) + 24;
  bytes[magic + 1] = bytes[magic + 1] == 0x02 ? 0x01 : 0x02;  // PE32+ <-> PE32
  std::ofstream(to, std::ios::binary) << bytes;
}

struct CommandLineCase {
  const char* name;
  // "SETUP" is scenic-1.0; "DAMAGED" a cut copy of it; "SWAPPED" a copy with
  // its integrity record filled and then two words of a stream swapped;
  // "OTHER_KIND" one whose header says it is of the other bitness;
  // "UNDER_FILE" a path below a file, where no folder can be made.
  std::vector<std::string> arguments;
  DWORD exit_code;
  const char* line;  // a part of a line of standard error (or of output, with exit code 0)
};

class DeployCommandLine : public ScenarioTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(DeployCommandLine, ExitsWithItsCodeAndLeavesTheMachineAlone) {
  const CommandLineCase& c = GetParam();
  const std::string setups = WorkFolder("setups");
  std::string damaged = setups + "\\Scenic_Setup.exe";
  {
    std::string bytes = FileBytes(SetupPath("scenic-1.0")).value_or("");
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() - 100);
  }
  std::map<std::string, std::string> stand_ins = {{"SETUP", SetupPath("scenic-1.0")},
                                                  {"DAMAGED", damaged},
                                                  {"SWAPPED", setups + "\\Swapped.exe"},
                                                  {"OTHER_KIND", setups + "\\OtherKind.exe"},
                                                  {"UNDER_FILE", damaged + "\\logs\\install.log"}};
  WriteFilledSetup("scenic-1.0", stand_ins["SWAPPED"], "Library.dll");
  WriteOtherKind(SetupPath("scenic-1.0"), stand_ins["OTHER_KIND"]);
  std::vector<std::string> arguments;
  for (const std::string& argument : c.arguments) {
    arguments.push_back(stand_ins.count(argument) != 0 ? stand_ins[argument] : argument);
  }
  Snapshot before = TakeSnapshot();
  DeployRun run = RunDeploy(arguments);
  EXPECT_EQ(run.exit_code, c.exit_code);
  const std::vector<std::string>& lines = c.exit_code == 0 ? run.output : run.errors;
  EXPECT_TRUE(HasLine(lines, c.line)) << "last line: " << (lines.empty() ? "" : lines.back());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  std::vector<std::string> outside = WrittenOutside(before, TakeSnapshot(), {});
  EXPECT_TRUE(outside.empty()) << outside.front();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DeployCommandLine,
    ::testing::Values(
        CommandLineCase{"NoCommand", {}, 2, "usage: tarnell-deploy"},
        CommandLineCase{"Help", {"--help"}, 0, "usage: tarnell-deploy"},
        CommandLineCase{"ShortHelp", {"-h"}, 0, "Exit codes: 0 done"},
        CommandLineCase{"WindowsHelp", {"/?"}, 0, "usage: tarnell-deploy"},
        CommandLineCase{"Version", {"--version"}, 0, "tarnell-deploy 1.0"},
        CommandLineCase{"UnknownCommand", {"deploy", "SETUP"}, 2, "unknown command deploy"},
        CommandLineCase{"UnknownOption", {"install", "SETUP", "--silent"}, 2, "unknown or incomplete option --silent"},
        CommandLineCase{"QuietAndVerbose",
                        {"install", "SETUP", "--quiet", "--verbose"},
                        2,
                        "--quiet and --verbose contradict each other"},
        CommandLineCase{"InstallOptionToStatus", {"status", "SETUP", "--path"}, 2, "--path belongs to install"},
        CommandLineCase{
            "LogOfStatus", {"status", "SETUP", "--log", "C:\\status.log"}, 2, "--log belongs to install and uninstall"},
        CommandLineCase{"RelativeProgramFolder",
                        {"install", "SETUP", "--program-folder", "Apps\\Scenic"},
                        2,
                        "--program-folder needs a full path, such as C:\\Apps\\Product: Apps\\Scenic"},
        CommandLineCase{"DriveRelativeDataFolder",
                        {"install", "SETUP", "--data-folder", "C:Data"},
                        2,
                        "--data-folder needs a full path"},
        CommandLineCase{"FolderTwice",
                        {"install", "SETUP", "--program-folder", "C:\\A", "--program-folder", "C:\\B"},
                        2,
                        "--program-folder is given twice"},
        CommandLineCase{"FolderTooLong",
                        {"install", "SETUP", "--program-folder", "C:\\" + std::string(600, 'a')},
                        2,
                        "Text is too long"},
        CommandLineCase{"UnwritableLog", {"install", "SETUP", "--log", "UNDER_FILE"}, 2, "cannot write the log"},
        CommandLineCase{"OtherBitness", {"install", "OTHER_KIND"}, 2, "-bit setup: run it with the"},
        CommandLineCase{"StatusOfOtherBitness", {"status", "OTHER_KIND"}, 2, "-bit setup: run it with the"},
        CommandLineCase{"UnknownFileType", {"install", "SETUP", "--assoc", "doc"}, 2, "no association for .doc"},
        CommandLineCase{"NotInstalled", {"uninstall", "SETUP"}, 2, "the product is not installed"},
        CommandLineCase{"ProductNotInstalled", {"uninstall", "--product", "Scenic"}, 2, "Scenic is not installed"},
        CommandLineCase{"StatusOfProductNotInstalled", {"status", "--product", "Scenic"}, 2, "Scenic is not installed"},
        CommandLineCase{"Damaged", {"install", "DAMAGED"}, 3, "the package was refused"},
        CommandLineCase{"SwappedWords", {"install", "SWAPPED"}, 3, "Invalid Tarnell software package."},
        CommandLineCase{"StatusOfSwappedWords", {"status", "SWAPPED"}, 3, "Invalid Tarnell software package."},
        CommandLineCase{"Missing", {"status", "C:\\nowhere\\Setup.exe"}, 3, "cannot open"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& param) { return std::string(param.param.name); });

TEST_F(Deploy, AnAdministratorWhoseRightsAreFilteredIsRefusedWith4) {
  // Under UAC an administrator who has not elevated holds the group for
  // denying only.
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  SidMemory administrators;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       administrators.Receive()));
  KernelHandle token;
  KernelHandle filtered;
  SID_AND_ATTRIBUTES deny{administrators.Get(), 0};
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, token.Receive()));
  ASSERT_TRUE(CreateRestrictedToken(token.Get(), 0, 1, &deny, 0, nullptr, 0, nullptr, filtered.Receive()));
  const std::string temp = WorkFolder("temp");
  EXPECT_EQ(RunProgram(DeployPath(), {"install", SetupPath("scenic-1.0")}, temp, temp + "\\..\\out.txt",
                       temp + "\\..\\err.txt", filtered.Get()),
            4u);
  EXPECT_NE(FileBytes(temp + "\\..\\err.txt").value_or("").find("needs an elevated administrator"), std::string::npos);
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  // Looking needs no elevation.
  EXPECT_EQ(RunProgram(DeployPath(), {"status", SetupPath("scenic-1.0")}, temp, temp + "\\..\\out.txt",
                       temp + "\\..\\err.txt", filtered.Get()),
            0u);
  EXPECT_NE(FileBytes(temp + "\\..\\out.txt").value_or("").find("mode: Install"), std::string::npos);
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
  KernelHandle first = StartProgram(SetupPath("scenic-1.0"), {}, first_temp, first_temp + "\\..\\first-out.txt",
                                    first_temp + "\\..\\first-err.txt");
  ASSERT_TRUE(first);
  HWND window = WaitForSetupWindow("Scenic Setup", 30);
  if (window == nullptr) {
    TerminateProcess(first.Get(), 1);
    GTEST_SKIP() << "the setup window did not show (no display?)";
  }
  KernelHandle lock(OpenMutexA(SYNCHRONIZE, FALSE, kScenicLock));
  ASSERT_TRUE(lock) << "the window holds no mutex of that name";
  EXPECT_EQ(WaitForSingleObject(lock.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  lock.Reset();
  // The lock file is there, and nobody can open it, not even to read.
  EXPECT_TRUE(Exists(ScenicLockPath()));
  KernelHandle opened(CreateFileA(ScenicLockPath().c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
  EXPECT_FALSE(opened);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

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
  TerminateProcess(first.Get(), 0);
  WaitForSingleObject(first.Get(), 10000);
  EXPECT_FALSE(Exists(ScenicLockPath()));
  EXPECT_EQ(RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program}).exit_code, 0u);
}

// Any user may make the mutex that earlier versions lock first, and hold it
// for ever. That no longer stalls the product: the run goes on under its
// lock file, and reports the mutex for what it is. Nor does a lock file that
// a power cut left behind.
TEST_F(Deploy, NeitherAUsersMutexNorALeftLockFileStallsTheProduct) {
  // Owned by the built-in Users, as a user's own object would be; open to all.
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("O:BUD:(A;;GA;;;WD)", SDDL_REVISION_1,
                                                                   &attributes.lpSecurityDescriptor, nullptr));
  LocalMemory descriptor(attributes.lpSecurityDescriptor);
  KernelHandle squatter(CreateMutexA(&attributes, TRUE, kScenicLock));
  ASSERT_TRUE(squatter);
  ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a run of the setup is going on";
  ASSERT_TRUE(KernelHandle(CreateFileA(ScenicLockPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));

  const std::string program = "C:\\Apps\\Scenic";
  DeployRun install = RunDeploy({"install", SetupPath("scenic-1.0"), "--program-folder", program});
  EXPECT_EQ(install.exit_code, 0u);
  EXPECT_TRUE(install.Logged(
      "The mutex that earlier setups of Scenic take is held by a program that no administrator started"));
  EXPECT_TRUE(Exists(program + "\\Scenic_Setup.exe"));
  EXPECT_FALSE(Exists(ScenicLockPath()));
  EXPECT_EQ(RunDeploy({"uninstall", "--product", "Scenic"}).exit_code, 0u);
}

}  // namespace
