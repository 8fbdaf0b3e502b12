// Crash points: a run that ends dead, or fails, at any one of the changes it
// makes to the machine leaves a state that the next run finishes. For every
// N, the run is stopped before its (N+1)-th change (power loss, at the level
// of whole calls) or its N-th change fails (access denied, disk full); then
// the same setup runs again and must complete, an uninstall must leave
// nothing of the product, nothing outside the product's folders may have
// changed, and the user's data file must be whole.
//
// The runs are tarnell-deploy's, made in this process: a process start under
// Wine costs more than the run itself. They count the changes through the
// machine's table of calls (--print-changes) and act on one of them
// (--stop-after, --fail-change). In one process a stop cannot end it, so
// from the stop on every change is refused: the machine is left as a dead
// process would leave it.
#include <gtest/gtest.h>
#include <io.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/driver/deploy_command.h"
#include "app/driver/deploy_run.h"
#include "fs/machine_calls.h"
#include "scenario_support.h"
#include "system/process_paths.h"

namespace {

const char kProgram[] = "C:\\Apps\\Scenic";
const char kMovedData[] = "C:\\Data\\Scenic Two";
const char kJournal[] = "the user's own journal, written by Scenic\r\n";

void WriteJournal(const std::string& folder) {
  std::ofstream file(folder + "\\Journal.txt", std::ios::binary | std::ios::trunc);
  file << kJournal;
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

// One run of tarnell-deploy in this process, its printing sent to NUL; the
// exit code.
// The time the runs took, apart from the checks.
double run_seconds = 0;

int RunHere(const std::vector<std::string>& arguments) {
  auto start = std::chrono::steady_clock::now();
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  DeployCommand command;
  std::string error;
  if (!ParseDeployCommand(static_cast<int>(argv.size()), argv.data(), command, error)) {
    ADD_FAILURE() << error;
    return -1;
  }
  command.freeze_at_stop = true;
  std::fflush(stdout);
  int saved = _dup(1);
  FILE* null = std::fopen("NUL", "w");
  _dup2(_fileno(null), 1);
  int exit_code = RunDeployCommand(command);
  std::fflush(stdout);
  _dup2(saved, 1);
  _close(saved);
  std::fclose(null);
  run_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return exit_code;
}

// One sequence under test: how the machine is prepared, the run that is
// broken off, and the run that must then complete.
struct Sequence {
  std::function<void()> prepare;
  std::vector<std::string> broken;
  std::vector<std::string> again;
  std::string journal_folder;  // where the user's journal is once `again` has run; empty: none
};

class CrashPoints : public ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    if (IsSkipped()) return;
    // The runs' log belongs with the test's own files.
    std::string temp = WorkFolder("temp");
    SetEnvironmentVariableA("TEMP", temp.c_str());
    SetEnvironmentVariableA("TMP", temp.c_str());
    InitProcessDirectories();
    user_ = FoldersFor(false);
    before_ = TakeSnapshot();
  }

  // Nothing of the product is left, and nothing outside its folders changed.
  void ExpectClean(const std::string& point) {
    SCOPED_TRACE(point);
    EXPECT_FALSE(Exists(kProgram));
    EXPECT_FALSE(Exists(kMovedData));
    EXPECT_FALSE(Exists(user_.app_data + "\\Tarnell"));
    EXPECT_FALSE(Exists(user_.start_menu));
    EXPECT_FALSE(Exists(user_.desktop + "\\Scenic.lnk"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, UninstallKey("Scenic")));
    for (const char* key : {".scn", ".scx", "Scenic.scn", "Scenic.scx"}) {
      EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    }
    EXPECT_FALSE(Contains(PathEntries(false), kProgram));
    EXPECT_FALSE(FindService("ScenicAgent").has_value());
    EXPECT_FALSE(FindService("ScenicHelper").has_value());
    std::vector<std::string> outside = WrittenOutside(
        before_, TakeSnapshot(), {kProgram, kMovedData, user_.app_data + "\\Tarnell", user_.start_menu, user_.desktop});
    EXPECT_TRUE(outside.empty()) << outside.front();
  }

  // Breaks the sequence off at its points in turn, every `shards`-th from
  // `shard` on; `act` gives the arguments that act on point n.
  void RunPoints(const Sequence& sequence, const std::function<std::vector<std::string>(unsigned)>& act, bool stop,
                 unsigned shard, unsigned shards) {
    auto start = std::chrono::steady_clock::now();
    run_seconds = 0;
    sequence.prepare();
    ASSERT_EQ(RunHere(With(sequence.broken, {"--print-changes"})), 0);
    const unsigned changes = ChangesOfLastRun();
    Recover(sequence, "the whole run");
    ASSERT_GT(changes, 0u);

    // A stop after the last change is the whole run; a failure may hit it.
    const unsigned last = stop ? changes - 1 : changes;
    unsigned points = 0;
    for (unsigned n = 1 + shard; n <= last; n += shards, ++points) {
      const std::string point = "point " + std::to_string(n) + " of " + std::to_string(changes);
      SCOPED_TRACE(point);
      sequence.prepare();
      RunHere(With(sequence.broken, act(n)));
      Recover(sequence, point);
      if (HasFailure()) break;  // one broken point is enough to read
    }
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    std::printf("%u changes, %u points here, %lld s (runs %.0f s)\n", changes, points,
                static_cast<long long>(seconds.count()), run_seconds);
  }

  // The run again completes and keeps the journal; the uninstall after it
  // leaves a clean machine.
  void Recover(const Sequence& sequence, const std::string& point) {
    EXPECT_EQ(RunHere(sequence.again), 0) << point;
    if (!sequence.journal_folder.empty()) {
      EXPECT_EQ(FileBytes(sequence.journal_folder + "\\Journal.txt"), kJournal) << point;
    }
    EXPECT_EQ(RunHere({"uninstall", SetupPath("scenic-2.0")}), 0) << point;
    ExpectClean(point);
  }

 public:
  Sequence Install() {
    std::vector<std::string> install = {"install", SetupPath("scenic-1.0"), "--program-folder", kProgram, "--path"};
    return {[] {}, install, install, ""};
  }

  // Scenic 1.0 installed, and the user's journal in its data folder.
  static std::function<void()> Installed(const std::string& data) {
    return [data] {
      ASSERT_EQ(RunHere({"install", SetupPath("scenic-1.0"), "--program-folder", kProgram, "--path"}), 0);
      WriteJournal(data);
    };
  }

  // 2.0 drops ScenicHelper.exe and one association, and moves the data
  // files with the user's journal to a new folder.
  Sequence Update() {
    std::vector<std::string> update = {"install", SetupPath("scenic-2.0"), "--data-folder", kMovedData};
    return {Installed(user_.app_data + "\\Tarnell"), update, update, kMovedData};
  }

  // The data is kept: the journal must survive the broken run whole.
  Sequence Uninstall() {
    std::string data = user_.app_data + "\\Tarnell";
    return {Installed(data),
            {"uninstall", SetupPath("scenic-1.0"), "--keep-data"},
            {"install", SetupPath("scenic-1.0"), "--program-folder", kProgram, "--path"},
            data};
  }

 protected:
  static std::vector<std::string> StopAfter(unsigned n) { return {"--stop-after", std::to_string(n)}; }
  // Access denied and a full disk take turns.
  static std::vector<std::string> FailAt(unsigned n) {
    return {"--fail-change", std::to_string(n), "--fail-with", n % 2 == 0 ? "disk-full" : "access-denied"};
  }

  ShellFolders user_;
  Snapshot before_;
};

}  // namespace

// Each sequence's points are shared out over three tests, so each stays
// within the test time limit. The 64-bit build makes the same calls in the
// same order; the 32-bit one alone runs them, to keep the suite's time.
struct PointsCase {
  const char* name;
  Sequence (CrashPoints::*sequence)();
  bool stop;
  unsigned shard;
};
void PrintTo(const PointsCase& c, std::ostream* out) { *out << c.name; }

class CrashPointsOf : public CrashPoints, public ::testing::WithParamInterface<PointsCase> {};

TEST_P(CrashPointsOf, EveryPointLeavesAStateTheNextRunCompletes) {
#ifdef _WIN64
  GTEST_SKIP() << "the 32-bit build runs the crash points";
#endif
  const PointsCase& c = GetParam();
  RunPoints((this->*c.sequence)(), c.stop ? StopAfter : FailAt, c.stop, c.shard, 3);
}

INSTANTIATE_TEST_SUITE_P(, CrashPointsOf,
                         ::testing::Values(PointsCase{"InstallStopped0", &CrashPoints::Install, true, 0},
                                           PointsCase{"InstallStopped1", &CrashPoints::Install, true, 1},
                                           PointsCase{"InstallStopped2", &CrashPoints::Install, true, 2},
                                           PointsCase{"InstallFailing0", &CrashPoints::Install, false, 0},
                                           PointsCase{"InstallFailing1", &CrashPoints::Install, false, 1},
                                           PointsCase{"InstallFailing2", &CrashPoints::Install, false, 2},
                                           PointsCase{"UpdateStopped0", &CrashPoints::Update, true, 0},
                                           PointsCase{"UpdateStopped1", &CrashPoints::Update, true, 1},
                                           PointsCase{"UpdateStopped2", &CrashPoints::Update, true, 2},
                                           PointsCase{"UpdateFailing0", &CrashPoints::Update, false, 0},
                                           PointsCase{"UpdateFailing1", &CrashPoints::Update, false, 1},
                                           PointsCase{"UpdateFailing2", &CrashPoints::Update, false, 2},
                                           PointsCase{"UninstallStopped0", &CrashPoints::Uninstall, true, 0},
                                           PointsCase{"UninstallStopped1", &CrashPoints::Uninstall, true, 1},
                                           PointsCase{"UninstallStopped2", &CrashPoints::Uninstall, true, 2},
                                           PointsCase{"UninstallFailing0", &CrashPoints::Uninstall, false, 0},
                                           PointsCase{"UninstallFailing1", &CrashPoints::Uninstall, false, 1},
                                           PointsCase{"UninstallFailing2", &CrashPoints::Uninstall, false, 2}),
                         [](const ::testing::TestParamInfo<PointsCase>& point) {
                           return std::string(point.param.name);
                         });

// A full disk while a Repair writes: every file it was to replace stays
// whole, and no temporary file is left beside them.
DWORD DiskFullOnWrite(MachineChange kind) {
  return kind == MachineChange::kFileBytes ? ERROR_DISK_FULL : ERROR_SUCCESS;
}

TEST_F(CrashPoints, AFailedWriteKeepsTheFileItWasToReplace) {
  const std::string program = kProgram;
  ASSERT_EQ(RunHere({"install", SetupPath("scenic-1.0"), "--program-folder", kProgram}), 0);
  const std::vector<std::string> installed = FolderEntries(program);
  std::vector<std::optional<std::string>> bytes;
  for (const std::string& name : installed) bytes.push_back(FileBytes(program + "\\" + name));

  SetMachineChangeGate(DiskFullOnWrite);
  EXPECT_EQ(RunHere({"install", SetupPath("scenic-1.0")}), 1);
  SetMachineChangeGate(nullptr);
  EXPECT_EQ(FolderEntries(program), installed);
  for (std::size_t i = 0; i < installed.size(); ++i) {
    EXPECT_EQ(FileBytes(program + "\\" + installed[i]), bytes[i]) << installed[i];
  }
  EXPECT_EQ(RunHere({"install", SetupPath("scenic-2.0")}), 0);
  EXPECT_EQ(RunHere({"uninstall", SetupPath("scenic-2.0")}), 0);
  ExpectClean("after the full disk");
}
