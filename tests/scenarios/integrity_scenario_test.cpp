// The integrity record end to end: a setup whose record the builder filled
// installs, and the setup copy it leaves carries a record of its own bytes;
// two swapped words of a stored stream, which the PE sum cannot see, make
// the setup itself refuse at start before anything is written (tarnell-
// deploy's refusals are in the command-line table). And tarnell-deploy reads
// the setup through one handle that nobody may write while it runs.
#include <windows.h>

#include <string>
#include <vector>

#include "app/driver/deploy_command.h"
#include "app/driver/deploy_run.h"
#include "fs/machine_calls.h"
#include "package/integrity_record.h"
#include "package/package_loader.h"
#include "package/package_sum.h"
#include "scenario_support.h"
#include "system/process_paths.h"

namespace {

class Integrity : public ScenarioTest {};

// What the reader says of the setup file at `path`.
PackageSum CheckFile(const std::string& path, IntegrityRecord& record) {
  std::string text = FileBytes(path).value_or("");
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  MemoryPackageFile file(bytes.data(), bytes.size(), path.c_str());
  PackageDirectory package;
  LoadPackageDirectory(file, path.c_str(), package);
  record = FindIntegrityRecord(file);
  return CheckPackageSum(file, package.SkinRecord().stream_offset);
}

TEST_F(Integrity, AFilledSetupInstallsAndItsCopyCarriesARecordOfItsOwnBytes) {
  const std::string setups = WorkFolder("setups");
  WriteFilledSetup("scenic-2.0", setups + "\\Scenic_Setup.exe");
  WriteFilledSetup("scenic-2.1-patch", setups + "\\Scenic_Patch.exe");
  ASSERT_EQ(RunDeploy({"install", setups + "\\Scenic_Setup.exe", "--program-folder", "C:\\Apps\\Scenic"}).exit_code,
            0u);
  // The patch's copy has the patch flag cleared: other bytes, another CRC.
  DeployRun patch = RunDeploy({"install", setups + "\\Scenic_Patch.exe"});
  ASSERT_EQ(patch.exit_code, 0u) << (patch.errors.empty() ? "" : patch.errors.back());
  const std::string copy = "C:\\Apps\\Scenic\\Scenic_Setup.exe";
  EXPECT_NE(FileBytes(copy), FileBytes(setups + "\\Scenic_Patch.exe"));
  IntegrityRecord patch_record, copy_record;
  ASSERT_EQ(CheckFile(setups + "\\Scenic_Patch.exe", patch_record), PackageSum::kWholeFile);
  EXPECT_EQ(CheckFile(copy, copy_record), PackageSum::kWholeFile);
  EXPECT_EQ(copy_record.kind, IntegrityRecord::Kind::kFilled);
  EXPECT_EQ(copy_record.count, patch_record.count);
  EXPECT_NE(copy_record.crc, patch_record.crc);
  // The copy passes the check at start, so it repairs and uninstalls.
  EXPECT_TRUE(Contains(RunDeploy({"status", copy}).output, "mode: Repair"));
  EXPECT_EQ(RunDeploy({"uninstall", "--product", "Scenic"}).exit_code, 0u);
}

TEST_F(Integrity, TheSetupItselfRefusesSwappedWordsAtStart) {
  const std::string setup = WorkFolder("setups") + "\\Scenic_Setup.exe";
  WriteFilledSetup("scenic-1.0", setup, "Library.dll");
  const std::string temp = WorkFolder("temp");
  Snapshot before = TakeSnapshot();
  EXPECT_EQ(RunProgram(setup, {}, temp, temp + "\\..\\out.txt", temp + "\\..\\err.txt"), 0u);
  std::vector<std::string> log = LogLines(temp);
  if (!Contains(log, "Setup started")) GTEST_SKIP() << "the setup's window could not start (no display?)";
  EXPECT_TRUE(Contains(log, "Invalid Tarnell software package."));
  EXPECT_EQ(log.back(), "Abort while starting the program");
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
  std::vector<std::string> outside = WrittenOutside(before, TakeSnapshot(), {});
  EXPECT_TRUE(outside.empty()) << outside.front();
}

// Another program's try to write the setup, at the run's first change to
// the machine (after the package was checked).
std::string setup_to_write;
bool tried = false;
DWORD write_error = ERROR_SUCCESS;

DWORD TryToWriteTheSetup(MachineChange) {
  if (!tried) {
    tried = true;
    KernelHandle file(CreateFileA(setup_to_write.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    write_error = file ? ERROR_SUCCESS : GetLastError();
  }
  return ERROR_SUCCESS;
}

TEST_F(Integrity, NobodyWritesTheSetupWhileTheDeployToolReadsIt) {
  std::string temp = WorkFolder("temp");
  SetEnvironmentVariableA("TEMP", temp.c_str());
  SetEnvironmentVariableA("TMP", temp.c_str());
  InitProcessDirectories();
  setup_to_write = WorkFolder("setups") + "\\Scenic_Setup.exe";
  ASSERT_TRUE(CopyFileA(SetupPath("scenic-1.0").c_str(), setup_to_write.c_str(), FALSE));
  DeployCommand command;
  command.action = DeployAction::kInstall;
  command.setup_path = setup_to_write;
  command.program_folder = "C:\\Apps\\Scenic";
  command.quiet = true;
  SetMachineChangeGate(TryToWriteTheSetup);
  EXPECT_EQ(RunDeployCommand(command), 0);
  SetMachineChangeGate(nullptr);
  EXPECT_TRUE(tried);
  EXPECT_EQ(write_error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // Once the run has ended the file is free again.
  KernelHandle file(CreateFileA(setup_to_write.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(file);
}

}  // namespace
