// What tarnell-deploy does with its command, as one call, so that a test can
// also make many runs in its own process. It reads the package of the given
// setup as if it were its own, so the choice of mode, the setup copy and
// the registration behave as when that setup runs; it takes the options the
// window would hand over, refuses what the window would refuse, and runs
// the setup's own sequences under a logger that writes the setup's own log.
// It never opens a window. Its exit code says how the run ended (kExit*
// below); the reason of a failure goes to standard error.
//
// The setup file is held open for the whole run and read only through that
// handle, sharing neither writing nor deleting, as the setup holds its own
// file: the package checked at start is the one installed, and a setup copy
// that uninstalls itself stays until the uninstall batch removes it once
// the tool has ended.
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "app/driver/deploy_run.h"

#include "app/driver/deploy_command.h"
#include "app/driver/deploy_logger.h"
#include "app/driver/deploy_status.h"
#include "app/install_sequence.h"
#include "app/setup_mode.h"
#include "app/setup_options.h"
#include "app/setup_state.h"
#include "app/uninstall_sequence.h"
#include "fs/file_operations.h"
#include "fs/file_stream.h"
#include "fs/machine_calls.h"
#include "fs/own_image.h"
#include "handles/owned_handle.h"
#include "log/abort_error.h"
#include "package/pe_image.h"
#include "system/administrator.h"
#include "system/process_paths.h"
#include "system/process_start.h"
#include "system/uninstall_batch.h"
#include "system/uninstall_registration.h"
#include "text/case_fold.h"
#include "text/path.h"

namespace {

void Complain(const char* text) { std::fprintf(stderr, "tarnell-deploy: %s\n", text); }

constexpr char kBusy[] = "another run of this product's setup is in progress";

#ifdef TARNELL_DEPLOY_TESTING
// The changes this run made to the machine, and what to do at which one.
struct ChangePoints {
  unsigned count = 0;
  unsigned stop_after = 0;  // 0: never
  unsigned fail_at = 0;     // 0: never
  DWORD fail_error = ERROR_ACCESS_DENIED;
  MachineChange last = MachineChange::kFile;
  bool freeze = false;
};
ChangePoints change_points;

DWORD CountChange(MachineChange kind) {
  ChangePoints& points = change_points;
  // The pieces of one file's bytes make one change: a stop between two of
  // them leaves what a stop after the first does, a cut file.
  bool more_bytes = kind == MachineChange::kFileBytes && points.last == MachineChange::kFileBytes;
  points.last = kind;
  if (more_bytes) return ERROR_SUCCESS;
  if (points.count >= points.stop_after && points.stop_after != 0) {
    // In one process with its tests, nothing more reaches the machine.
    if (points.freeze) return ERROR_ACCESS_DENIED;
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kExitStopped);
  }
  ++points.count;
  return points.count == points.fail_at ? points.fail_error : ERROR_SUCCESS;
}

// Counts the run's changes to the machine while it lives, when the command
// asks to print, stop or fail them.
class ChangeGate {
 public:
  explicit ChangeGate(const DeployCommand& command) {
    change_points = ChangePoints{};
    change_points.stop_after = command.stop_after.value_or(0);
    change_points.freeze = command.freeze_at_stop;
    change_points.fail_at = command.fail_change.value_or(0);
    if (command.fail_error != 0) change_points.fail_error = command.fail_error;
    if (command.print_changes || command.stop_after || command.fail_change) SetMachineChangeGate(CountChange);
  }
  ~ChangeGate() { SetMachineChangeGate(nullptr); }
  ChangeGate(const ChangeGate&) = delete;
  ChangeGate& operator=(const ChangeGate&) = delete;
};

// What the installed record says is on the machine, one fact a line.
void PrintRecord(const ProductRecord& installed) {
  std::printf("record: program-folder %s\n", installed.program_folder.c_str());
  std::printf("record: data-folder %s\n", installed.data_folder.c_str());
  std::printf("record: options start-menu=%d desktop=%d path=%d all-users=%d\n", installed.start_menu_shortcuts,
              installed.desktop_shortcut, installed.add_to_path, installed.all_users);
  for (std::size_t number = 2; number <= installed.FileCount(); ++number) {
    const FileRecord& file = installed.Record(number);
    std::printf("record: file %s destination=%u shortcut=%u service=%u\n", file.name, file.destination,
                file.shortcut_kind, file.service);
  }
  for (std::size_t i = 0; i < installed.association_count; ++i) {
    const AssociationEntry& entry = installed.associations[i];
    std::printf("record: association %s create=%d\n", entry.extension.c_str(), entry.create);
  }
}

// The peak of the process's private bytes. Windows keeps the peak itself;
// Wine reports only the present value as the peak, so a watcher samples it
// while the sequence runs.
class PeakMemoryWatch {
 public:
  void Start() { thread_.Reset(CreateThread(nullptr, 0, Watch, this, 0, nullptr)); }
  std::size_t Stop() {
    stop_ = true;
    if (thread_) {
      WaitForSingleObject(thread_.Get(), INFINITE);
      thread_.Reset();
    }
    Sample();
    return peak_;
  }

 private:
  static DWORD WINAPI Watch(void* self) {
    auto* watch = static_cast<PeakMemoryWatch*>(self);
    while (!watch->stop_) {
      watch->Sample();
      Sleep(1);
    }
    return 0;
  }
  void Sample() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    std::size_t now =
        counters.PeakPagefileUsage > counters.PagefileUsage ? counters.PeakPagefileUsage : counters.PagefileUsage;
    if (now > peak_) peak_ = now;
  }

  KernelHandle thread_;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> peak_{0};
};

// What the test options ask to see after the run.
void PrintTestFacts(const DeployCommand& command, const ProductRecord& installed, std::size_t peak_memory) {
  if (command.print_record) PrintRecord(installed);
  if (command.print_memory) std::printf("Peak private bytes: %lu\n", static_cast<unsigned long>(peak_memory));
  if (command.print_changes) std::printf("Changes: %u\n", change_points.count);
}
#else
// The shipped tool reads no test option: nothing to count, watch or print.
struct ChangeGate {
  explicit ChangeGate(const DeployCommand&) {}
};
struct PeakMemoryWatch {
  void Start() {}
  std::size_t Stop() { return 0; }
};
void PrintTestFacts(const DeployCommand&, const ProductRecord&, std::size_t) {}
#endif

// An older version over a newer one loses what the newer one brought: an
// administrator's script does it only when told so. The window offers it as
// "Update", for a person who sees the versions.
bool RefusedDowngrade(const DeployCommand& command, const SetupState& state, const SetupView& view) {
  const VersionRecord& package = state.package.version;
  const VersionRecord& installed = state.installed.version;
  bool older = installed.major != package.major ? installed.major > package.major : installed.minor > package.minor;
  if (command.allow_downgrade || view.mode != SetupMode::kUpdate || !view.uninstall_enabled || !older) return false;
  Complain(("the installed version " + std::string(VersionNumberText(installed).c_str()) + " is newer than " +
            VersionNumberText(package).c_str() + ": --allow-downgrade installs the older one")
               .c_str());
  return true;
}

// Runs the chosen sequence on the started state; the exit code.
int RunAction(const DeployCommand& command, SetupState& state, const SetupView& view) {
  if (command.action == DeployAction::kUninstall) {
    if (!view.uninstall_enabled) {
      Complain(view.mode == SetupMode::kInstall ? "the product is not installed"
                                                : "the uninstall button is disabled: the setup copy cannot be read");
      return kExitUsage;
    }
    return RunUninstall(state, command.keep_data) ? kExitDone : kExitAborted;
  }
  if (!view.install_enabled) {
    Complain("the install button is disabled: a patch needs its product's setup copy");
    return kExitUsage;
  }
  if (RefusedDowngrade(command, state, view)) return kExitUsage;
  DeployChoices chosen;
  std::string error;
  if (!ChooseAsTheWindowWould(command, state.package, view, chosen, error)) {
    Complain(error.c_str());
    return kExitUsage;
  }
  // A folder the field refuses stops the install, as in the window.
  if (!ReadOptions(chosen.choices, state.package)) {
    std::fprintf(stderr, "Text is too long\n");
    return kExitUsage;
  }
  return RunInstall(state, state.package_path.c_str()) ? kExitDone : kExitAborted;
}

// The setup copy that the registration names as the product's uninstall
// command; false when the product is not registered.
bool RegisteredSetupCopy(const char* product_name, std::string& path) {
  ProductRecord registered;
  Text uninstall_command;
  if (!ReadInstalledRegistration(product_name, registered, uninstall_command)) return false;
  path = uninstall_command.c_str();
  return !path.empty();
}

// A setup of the other kind than the tool would register its product in
// the other view of the registry, where its own setup does not look.
bool SameBitness(const char* setup_path) {
  FileStream file;
  file.SetPath(setup_path);
  std::uint8_t head[kPeHeadSize];
  std::size_t length = 0;
  try {
    file.Open(FileStream::Mode::kRead);
    length = file.ReadUpTo(head, sizeof head);
  } catch (const AbortError&) {
    return true;  // the package reader names what is wrong with the file
  }
  PeImageInfo image = ReadPeImageInfo(head, length);
  constexpr bool kTool64 = sizeof(void*) == 8;
  if (!image.is_pe || image.is_64_bit == kTool64) return true;
  Complain((std::string(setup_path) + (image.is_64_bit ? " is a 64-bit setup: run it with the 64-bit tarnell-deploy"
                                                       : " is a 32-bit setup: run it with the 32-bit tarnell-deploy"))
               .c_str());
  return false;
}

// The folder of the log copy is made if it is missing.
void MakeLogFolder(const char* log_path) {
  SystemPath folder;
  if (FolderPart(folder, log_path) && !folder.empty() && !PathExists(folder.c_str())) {
    CreateFolderChain(folder.c_str(), false);
  }
}

// The setup's file, held for the run: every read of its path goes through
// this one handle, which nobody may write, rename or delete meanwhile.
class HeldSetup {
 public:
  explicit HeldSetup(const char* path) : held_(HoldSetupFile(path)) {}
  ~HeldSetup() { ReleaseHeldFile(); }
  HeldSetup(const HeldSetup&) = delete;
  HeldSetup& operator=(const HeldSetup&) = delete;
  bool IsHeld() const { return held_; }

 private:
  bool held_;
};

}  // namespace

int RunDeployCommand(DeployCommand command) {
  if (command.action == DeployAction::kHelp || command.action == DeployAction::kVersion) {
    std::puts(command.action == DeployAction::kHelp ? kDeployUsage : kDeployVersion);
    return kExitDone;
  }
  bool status = command.action == DeployAction::kStatus;
  // status only reads: it needs no elevation, takes no lock and writes no log.
  if (!status && !RunsAsAdministrator()) {
    Complain("the setup changes the machine and needs an elevated administrator");
    return kExitNotAdministrator;
  }
  SetupState& state = TheSetupState();
  if (!command.product_name.empty()) {
    // The registration is read under the product's lock, by every run that changes it.
    if (!status && !state.lock.Take(command.product_name.c_str())) {
      Complain(kBusy);
      return kExitBusy;
    }
    if (!RegisteredSetupCopy(command.product_name.c_str(), command.setup_path)) {
      Complain((command.product_name + " is not installed").c_str());
      return kExitUsage;
    }
  }
  const char* setup_path = command.setup_path.c_str();
  HeldSetup held(setup_path);
  if (!held.IsHeld()) {
    Complain((std::string("cannot open ") + setup_path).c_str());
    return kExitPackageRefused;
  }
  if (!SameBitness(setup_path)) return kExitUsage;

  DeployLogger logger;
  const char* log_copy = command.log_copy ? command.log_copy->c_str() : nullptr;
  if (log_copy != nullptr) MakeLogFolder(log_copy);
  if (!logger.Begin(setup_path, log_copy, !status && !command.quiet, !status)) {
    Complain((std::string("cannot write the log ") + log_copy).c_str());
    return kExitUsage;
  }
  ChangeGate gate(command);
  PeakMemoryWatch memory;
  if (command.print_memory) memory.Start();
  SetupView view;
  try {
    view = StartSetup(state, setup_path, status);
  } catch (...) {
    bool busy = state.lock.Busy();
    if (!busy && !logger.last_error.empty()) std::fprintf(stderr, "%s\n", logger.last_error.c_str());
    logger.End(busy ? "Setup ended" : "Abort while starting the program");
    if (command.print_memory) memory.Stop();
    Complain(busy ? kBusy : "the package was refused");
    return busy ? kExitBusy : kExitPackageRefused;
  }
  // The setup copy named by the registration must be this product's.
  if (!command.product_name.empty() && !EqualIgnoringCase(command.product_name.c_str(), state.product_name.c_str())) {
    logger.End("Setup ended");
    if (command.print_memory) memory.Stop();
    Complain((std::string("the registered setup copy ") + setup_path + " belongs to another product").c_str());
    return kExitPackageRefused;
  }

  int exit_code = kExitDone;
  if (status) {
    std::vector<StatusFact> facts = StatusFacts(state, view);
    std::fputs((command.json ? StatusJson(facts) : StatusLines(facts)).c_str(), stdout);
  } else {
    exit_code = RunAction(command, state, view);
  }
  std::size_t peak_memory = command.print_memory ? memory.Stop() : 0;

  ReleaseHeldFile();
  // The batch must remove the setup, not the tool that played it.
  if (state.package.uninstall_batch_pending) {
    WriteUninstallBatch(setup_path);
    state.package.uninstall_batch_pending = false;
  }
  logger.End("Setup ended");
  if (exit_code == kExitAborted) {
    if (!logger.last_error.empty()) std::fprintf(stderr, "%s\n", logger.last_error.c_str());
    std::fprintf(stderr, "%s\n", logger.message.c_str());
  } else if (!logger.message.empty()) {
    std::printf("%s\n", logger.message.c_str());
  }
  PrintTestFacts(command, state.installed, peak_memory);
  return exit_code;
}

#ifdef TARNELL_DEPLOY_TESTING
unsigned ChangesOfLastRun() { return change_points.count; }
#endif
