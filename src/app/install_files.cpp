#include "app/install_files.h"

#include <windows.h>

#include "app/uninstall_sequence.h"
#include "fs/file_operations.h"
#include "fs/machine_calls.h"
#include "log/logger.h"
#include "system/service_presence.h"
#include "system/services.h"
#include "system/uninstall_registration.h"
#include "text/case_fold.h"
#include "text/path.h"

namespace {

bool GoesToDataFolder(const FileRecord& file) {
  return file.destination != static_cast<std::uint8_t>(Destination::kProgramFolder);
}

const char* FolderOf(const ProductRecord& record, const FileRecord& file) {
  return GoesToDataFolder(file) ? record.data_folder.c_str() : record.program_folder.c_str();
}

// folder\name; empty when the folder is unknown or the path would not fit,
// so that nothing is ever done to a name relative to the current folder.
Text PathIn(const char* folder, const char* name) {
  Text path;
  if (folder[0] == '\0' || !PathJoin(path, folder, name)) path.Clear();
  return path;
}

// The number (2 to the file count) of the record with that name; 0 for none.
std::size_t FindFileNumber(const ProductRecord& record, const char* name) {
  for (std::size_t number = 2; number <= record.FileCount(); ++number) {
    if (EqualIgnoringCase(record.Record(number).name, name)) return number;
  }
  return 0;
}

// Files that the package no longer carries go with their shortcuts and
// services before anything new is written; the last record fills the gap.
void RemoveObsoleteFiles(const ShortcutRun& run) {
  ProductRecord& installed = run.installed;
  for (std::size_t number = 2; installed.FileCount() > 1 && number <= installed.FileCount();) {
    FileRecord& file = installed.Record(number);
    if (FindFileNumber(run.package, file.name) != 0) {
      ++number;
      continue;
    }
    RemoveInstalledFile(installed, file, run.package.keep_data);
    installed.files.Set(number, installed.Record(installed.FileCount()));
    installed.files.RemoveLast();
  }
}

// A new data folder takes the installed data files along. A file that is
// not there any more is no reason to stop; one that stays behind is. Once
// they are all there, the emptied folder goes and the registration says
// where they are at once: a later step that fails must not leave it naming
// the folder they left (the next run would look for them there, and an
// uninstall would miss them). The folder goes first, as a run that ends
// between the two leaves no folder that no registration names.
void MoveDataFiles(const ShortcutRun& run) {
  ProductRecord& installed = run.installed;
  const char* from = installed.data_folder.c_str();
  const char* to = run.package.data_folder.c_str();
  if (from[0] == '\0' || to[0] == '\0' || EqualIgnoringCase(from, to)) return;
  for (std::size_t number = 2; number <= installed.FileCount(); ++number) {
    const FileRecord& file = installed.Record(number);
    if (!GoesToDataFolder(file)) continue;
    Text old_path = PathIn(from, file.name);
    Text new_path = PathIn(to, file.name);
    if (Machine().move_file(old_path.c_str(), new_path.c_str(), MOVEFILE_COPY_ALLOWED)) continue;
    if (PathExists(old_path.c_str())) LogErrorWith("File %s NOT moved to %s", old_path.c_str(), new_path.c_str());
  }
  RemoveEmptyFolderAndParents(from);
  installed.data_folder = run.package.data_folder;
  RegisterDataFolder(run.product_name, to);
}

// Whether the installed file and its package record lie at the same place.
bool SamePath(const ShortcutRun& run, const FileRecord& held, const FileRecord& file) {
  return EqualIgnoringCase(FolderOf(run.installed, held), FolderOf(run.package, file));
}

// The installed file of an earlier package, replaced by `file`: the copy
// in a folder it no longer belongs to goes, and so do the shortcuts and the
// service the new record does not make again.
void ReplaceInstalledFile(const ShortcutRun& run, std::size_t number, const FileRecord& file) {
  const FileRecord& held = run.installed.Record(number);
  const char* old_folder = FolderOf(run.installed, held);
  if (old_folder[0] != '\0' && !SamePath(run, held, file) &&
      !DeleteFileLogged(old_folder, held.name, DeleteReport::kFailure)) {
    throw AbortError{};
  }
  ReplaceFileShortcuts(run, held, file);
  run.installed.files.Set(number, file);
}

}  // namespace

void InstallFile(const ShortcutRun& run, ExtractionContext& extraction, const FileRecord& file) {
  if (file.destination == static_cast<std::uint8_t>(Destination::kDataFolderUntouched)) return;
  Text target = PathIn(FolderOf(run.package, file), file.name);
  bool written = ExtractFile(extraction, file);

  if (file.service != 0) {
    Text service = ServiceNameOf(file.name);
    // A service runs as the system: only a program this run has just
    // written becomes one, never a file that was there (a kept data file).
    if (!written || !CreateProgramService(target.c_str(), service.c_str())) {
      LogErrorWith("Service %s installation failed", service.c_str());
    }
  }
  MakeFileShortcuts(run, file, target.c_str());
}

void InstallFiles(const ShortcutRun& run, ExtractionContext& extraction) {
  RemoveObsoleteFiles(run);
  MoveDataFiles(run);

  ProductRecord& installed = run.installed;
  for (std::size_t number = 2; number <= run.package.FileCount(); ++number) {
    const FileRecord& file = run.package.Record(number);
    std::size_t held = FindFileNumber(installed, file.name);
    if (held == 0) {
      // The file is on the machine as soon as it is written; its service and
      // shortcuts count once they are made.
      if (installed.FileCount() == 0) installed.files.Add(FileRecord{});  // record 1 is the skin's
      FileRecord placeholder = file;
      placeholder.service = 0;
      placeholder.shortcut_kind = 0;
      installed.files.Add(placeholder);
      held = installed.FileCount();
      try {
        InstallFile(run, extraction, file);
      } catch (...) {
        // Not even written: the record has nothing to describe.
        if (!PathExists(PathIn(FolderOf(run.package, file), file.name).c_str())) installed.files.RemoveLast();
        throw;
      }
      installed.files.Set(held, file);
    } else {
      FileRecord& held_file = installed.Record(held);
      // A service registered for the old place would go on running the file
      // that is about to be deleted there: it is registered anew.
      if (held_file.service != 0 && !SamePath(run, held_file, file)) {
        RemoveFileService(installed, held_file);
        held_file.service = 0;
      }
      InstallFile(run, extraction, file);
      ReplaceInstalledFile(run, held, file);
    }
  }
}

void StopReplacedServices(const ShortcutRun& run, std::vector<Text>& to_restart) {
  const ProductRecord& installed = run.installed;
  for (std::size_t number = 2; number <= installed.FileCount(); ++number) {
    const FileRecord& held = installed.Record(number);
    if (held.service == 0) continue;
    Text service = ServiceNameOf(held.name);
    // A service that is gone already has nothing to stop.
    if (!ServiceRegistered(service.c_str())) continue;
    StopResult stopped = StopProgramService(service.c_str());
    if (stopped == StopResult::kNotStopped) LogErrorWith("The service %s has not been stoppt", service.c_str());
    if (stopped != StopResult::kStopped) continue;
    LogLineWith("Service %s stopped", service.c_str());
    std::size_t kept = FindFileNumber(run.package, held.name);
    if (kept != 0 && run.package.Record(kept).service != 0) to_restart.push_back(service);
  }
}

void RestartServices(const std::vector<Text>& services) {
  for (const Text& service : services) {
    if (StartProgramService(service.c_str())) {
      LogLineWith("Service %s started", service.c_str());
    } else {
      LogLineWith("Service %s NOT started", service.c_str());
    }
  }
}
