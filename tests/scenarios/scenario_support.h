// What the scenario tests share: the setups that tarnell-pack built for
// them, runs of tarnell-deploy with a temporary folder of their own, and the
// ways to look at the machine afterwards (files, registry, services,
// shortcuts), as a user or an administrator would.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "handles/owned_handle.h"
#include "registry_values.h"
#include "service_queries.h"

// Skips when in-scenario-prefix.sh could not prepare the machine, and gives
// every test COM (for reading shortcuts) and a folder of its own.
class ScenarioTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A fresh folder for this test's own files: C:\scenario\<test>\<name>.
  std::string WorkFolder(const std::string& name);

 private:
  bool com_ = false;
};

// setups\<name>.exe, as the builder wrote it.
std::string SetupPath(const std::string& name);
// The bytes the setup carries for `file`, as the builder extracted them.
std::string ExpectedBytes(const std::string& setup, const std::string& file);
// The file time the setup records for `file` (100 ns units since 1601).
std::uint64_t ExpectedTime(const std::string& setup, const std::string& file);

// Writes the setup `name` to `path` with its integrity record filled as the
// builder fills it (and its PE sum set again). With `swapped_file`, two
// aligned words of that file's stored stream are then swapped: damage that
// leaves the PE sum as it was.
void WriteFilledSetup(const std::string& name, const std::string& path, const char* swapped_file = nullptr);

struct DeployRun {
  DWORD exit_code = 0;
  std::string message;              // the message box text (standard output, or error when aborted)
  std::vector<std::string> output;  // standard output, log lines without time stamps
  std::vector<std::string> errors;  // standard error
  std::vector<std::string> log;     // the setup log's lines, without time stamps
  std::vector<std::string> record;  // "file NAME ...", "program-folder ..." (--print-record)
  std::string temp_folder;          // the run's temporary folder

  // The names of the files the installed record lists.
  std::vector<std::string> RecordFiles() const;
  bool Logged(const std::string& text) const;
};

// Runs tarnell-deploy with `arguments` (the command first) and a temporary
// folder of its own; adds --print-record to install and uninstall.
DeployRun RunDeploy(const std::vector<std::string>& arguments);
// Starts tarnell-deploy, or the setup itself when `program` names it, with
// `arguments` and TEMP at `temp_folder`, standard output and error into the
// files, under `token` when one is given; its process handle, null when it
// could not start.
KernelHandle StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& temp_folder, const std::string& output_path, const std::string& error_path,
                          HANDLE token = nullptr);
// StartProgram and wait: the exit code, 0xFFFFFFFF when the program did not
// end in two minutes.
DWORD RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& temp_folder,
                 const std::string& output_path, const std::string& error_path, HANDLE token = nullptr);
// The tarnell-deploy under test.
std::string DeployPath();
// The lines of every log file in `folder`, without their time stamps.
std::vector<std::string> LogLines(const std::string& folder);

// Files.
bool Exists(const std::string& path);
std::optional<std::string> FileBytes(const std::string& path);
std::uint64_t WriteTime(const std::string& path);
void SetWriteTime(const std::string& path, std::uint64_t time);
std::vector<std::string> FolderEntries(const std::string& folder);  // names, sorted
// Polls until the path is gone; false after `seconds`.
bool WaitUntilGone(const std::string& path, int seconds);

// Holds a file open until the object ends: for reading and writing with no
// sharing, as a program that uses it would, or as the system holds a running
// program's file (others may read it, nobody may delete it).
class HeldFile {
 public:
  enum class Hold { kInUse, kRunning };
  explicit HeldFile(const std::string& path, Hold hold = Hold::kInUse);
  bool IsOpen() const { return static_cast<bool>(handle_); }
  void Close() { handle_.Reset(); }

 private:
  KernelHandle handle_;
};

// Registry (RegistryText and the others come from registry_values.h).
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<product>".
std::string UninstallKey(const std::string& product);
// The entries of a "Path" value, split at ";".
std::vector<std::string> PathEntries(bool all_users);

// Services: FindService and the others come from service_queries.h.

// The shell folders of a scope.
struct ShellFolders {
  std::string start_menu;  // Programs\Tarnell
  std::string desktop;
  std::string app_data;
};
ShellFolders FoldersFor(bool all_users);
std::string ProgramFiles();

// Every file and folder under C:\ (the Windows folder and C:\scenario left
// out) with its size and time, to see what a run wrote.
using Snapshot = std::map<std::string, std::pair<std::uint64_t, std::uint64_t>>;
Snapshot TakeSnapshot();
// The paths that differ between two snapshots and lie neither inside one of
// the allowed folders nor on the way to one.
std::vector<std::string> WrittenOutside(const Snapshot& before, const Snapshot& after,
                                        const std::vector<std::string>& allowed);

bool Contains(const std::vector<std::string>& items, const std::string& item);
