// What setup-driver does with its command. It reads the package of the given setup as if
// it were its own, so the choice of mode, the setup copy and the
// registration behave as when that setup runs; it takes the options the
// window would hand over and runs the sequence under the setup program's
// own logger and log file. It prints what the message box would show and
// exits with 0 when the sequence ran to its end (1 when it aborted, 2 when
// it could not start).
//
// The setup file is held open for the whole run without delete sharing, as
// the system holds a running program: a setup copy that uninstalls itself
// stays, and the uninstall batch removes it once the driver has ended.
#include "app/driver/driver_run.h"

#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/install_sequence.h"
#include "app/setup_application.h"
#include "app/setup_mode.h"
#include "app/setup_options.h"
#include "app/setup_state.h"
#include "app/uninstall_sequence.h"
#include "fs/machine_calls.h"
#include "log/logger.h"
#include "system/process_paths.h"
#include "system/uninstall_batch.h"

namespace {

// The application's logger, except that the message box text is kept for
// printing instead of shown.
class DriverLogger final : public Logger {
 public:
  explicit DriverLogger(Logger& application) : application_(application) {}
  [[noreturn]] void LogError(const char* text) override {
    application_.LogError(text);
    throw AbortError{};  // the compiler cannot see through the virtual call
  }
  void LogLine(const char* text) override { application_.LogLine(text); }
  void LogFileLine(const char* text) override { application_.LogFileLine(text); }
  void LogWrite(const char* text) override { application_.LogWrite(text); }
  void ShowMessage(const char* text) override { message = text; }

  std::string message;

 private:
  Logger& application_;
};

const char* OnOff(bool value) { return value ? "on" : "off"; }

void PrintView(const SetupView& view, const ProductRecord& package) {
  std::printf("Mode: %s\n", ModeCaption(view.mode));
  std::printf("Install button: %s\n", view.install_enabled ? "enabled" : "disabled");
  std::printf("Uninstall button: %s\n", view.uninstall_enabled ? "enabled" : "disabled");
  std::printf("Program folder: %s\n", view.program_folder.c_str());
  switch (view.data_folder_row) {
    case DataFolderRow::kShown:
      std::printf("Data folder: %s\n", view.data_folder.c_str());
      break;
    case DataFolderRow::kReadOnly:
      std::printf("Data folder: %s (read-only)\n", view.data_folder.c_str());
      break;
    case DataFolderRow::kRemoved:
      std::printf("Data folder: (none)\n");
      break;
  }
  std::printf("Start menu shortcuts: %s\n", OnOff(view.start_menu_shortcuts));
  std::printf("Desktop shortcut: %s\n", OnOff(view.desktop_shortcut));
  std::printf("All users: %s\n", OnOff(view.all_users));
  std::printf("Add to PATH: %s\n", OnOff(view.add_to_path));
  for (std::size_t i = 0; i < package.association_count; ++i) {
    std::printf("Association %s: %s\n", package.associations[i].extension.c_str(), OnOff(view.associations[i]));
  }
}

// What the installed record says is on the machine, one fact a line.
void PrintRecord(const ProductRecord& installed) {
  std::printf("record: program-folder %s\n", installed.program_folder.c_str());
  std::printf("record: data-folder %s\n", installed.data_folder.c_str());
  std::printf("record: options start-menu=%d desktop=%d path=%d all-users=%d\n", installed.start_menu_shortcuts,
              installed.desktop_shortcut, installed.add_to_path, installed.all_users);
  for (std::size_t number = 2; number <= installed.file_count; ++number) {
    const FileRecord& file = installed.Record(number);
    std::printf("record: file %s destination=%u shortcut=%u service=%u\n", file.name.c_str(), file.destination,
                file.shortcut_kind, file.service);
  }
  for (std::size_t i = 0; i < installed.association_count; ++i) {
    const AssociationEntry& entry = installed.associations[i];
    std::printf("record: association %s create=%d\n", entry.extension.c_str(), entry.create);
  }
}

// The lines of this run: the log file from its last "Setup started" on.
void PrintRunLog(const char* log_path) {
  std::ifstream file(log_path, std::ios::binary);
  std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::size_t start = log.rfind("  Setup started\r\n");
  if (start == std::string::npos) return;
  start = log.rfind('\n', start);
  start = start == std::string::npos ? 0 : start + 1;
  for (char c : log.substr(start)) {
    if (c != '\r') std::putchar(c);
  }
}

// The peak of the process's private bytes. Windows keeps the peak itself;
// Wine reports only the present value as the peak, so a watcher samples it
// while the sequence runs.
class PeakMemoryWatch {
 public:
  void Start() {
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
  }
  std::size_t Stop() {
    stop_ = true;
    if (thread_ != nullptr) {
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
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
    std::size_t now = counters.PeakPagefileUsage > counters.PagefileUsage ? counters.PeakPagefileUsage
                                                                          : counters.PagefileUsage;
    if (now > peak_) peak_ = now;
  }

  HANDLE thread_ = nullptr;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> peak_{0};
};

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
    TerminateProcess(GetCurrentProcess(), kStoppedExitCode);
  }
  ++points.count;
  return points.count == points.fail_at ? points.fail_error : ERROR_SUCCESS;
}

// Runs the chosen action on the started state; true when the sequence ran
// to its end. `refused` is set when the window would not allow the action.
bool RunAction(const DriverCommand& command, SetupState& state, const SetupView& view, bool& refused) {
  std::string error;
  if (command.action == DriverAction::kUninstall) {
    refused = !view.uninstall_enabled;
    if (refused) std::fprintf(stderr, "setup-driver: the uninstall button is disabled\n");
    return !refused && RunUninstall(state, command.keep_data);
  }
  refused = !view.install_enabled;
  DriverChoices chosen;
  if (!refused && !ChooseAsTheWindowWould(command, state.package, view, chosen, error)) {
    std::fprintf(stderr, "setup-driver: %s\n", error.c_str());
    refused = true;
  } else if (refused) {
    std::fprintf(stderr, "setup-driver: the install button is disabled\n");
  }
  if (refused) return false;
  // A folder the field refuses stops the install, as in the window.
  if (!ReadOptions(chosen.choices, state.package)) {
    std::fprintf(stderr, "Text is too long\n");
    refused = true;
    return false;
  }
  return RunInstall(state, command.setup_path.c_str());
}

}  // namespace

int RunDriverCommand(const DriverCommand& command) {
  const char* setup_path = command.setup_path.c_str();
  HANDLE running = CreateFileA(setup_path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (running == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "setup-driver: cannot open %s\n", setup_path);
    return 2;
  }

  SetupApplication& application = Application();
  application.BeginLog();
  DriverLogger logger(CurrentLogger());
  SetCurrentLogger(&logger);

  change_points = ChangePoints{};
  change_points.stop_after = command.stop_after.value_or(0);
  change_points.freeze = command.freeze_at_stop;
  change_points.fail_at = command.fail_change.value_or(0);
  if (command.fail_error != 0) change_points.fail_error = command.fail_error;
  if (command.print_changes || command.stop_after || command.fail_change) SetMachineChangeGate(CountChange);

  SetupState& state = TheSetupState();
  PeakMemoryWatch memory;
  if (command.print_memory) memory.Start();
  int exit_code = 0;
  try {
    SetupView view = StartSetup(state, setup_path);
    if (command.action == DriverAction::kMode) {
      PrintView(view, state.package);
    } else {
      bool refused = false;
      bool done = RunAction(command, state, view, refused);
      if (!refused) std::printf("%s\n", logger.message.c_str());
      exit_code = done ? 0 : refused ? 2 : 1;
    }
  } catch (...) {
    std::printf("Abort while starting the program\n");
    application.Done("Abort while starting the program");
    CloseHandle(running);
    return 2;
  }

  CloseHandle(running);
  // The batch must remove the setup, not the driver that played it.
  if (state.package.run_flag) {
    WriteUninstallBatch(setup_path, Process().temp_directory.c_str());
    state.package.run_flag = false;
  }
  application.Done("Setup ended");
  std::size_t peak_memory = command.print_memory ? memory.Stop() : 0;
  if (command.print_record) PrintRecord(state.installed);
  if (command.print_log) PrintRunLog(application.LogPath());
  if (command.print_memory) std::printf("Peak private bytes: %lu\n", static_cast<unsigned long>(peak_memory));
  if (command.print_changes) std::printf("Changes: %u\n", change_points.count);
  SetMachineChangeGate(nullptr);
  return exit_code;
}

unsigned ChangesOfLastRun() { return change_points.count; }
