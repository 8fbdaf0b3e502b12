// The product's shortcuts (.lnk files): one for each package file that asks
// for one, a start and a stop shortcut for each service program, and one for
// the setup copy. They go into the product's start-menu folder and, for the
// files that ask for it, onto the desktop, as the options say; an update
// replaces them and an uninstall removes them.
//
// Links are written by the shell's link object, which needs COM on the
// calling thread: the install holds a ComScope (system/com_ptr.h) while it
// runs. Every failure is reported through LogError or, for a deletion, by
// the line of DeleteFileLogged; either aborts the running sequence.
//
// https://learn.microsoft.com/windows/win32/shell/links
#pragma once

#include "package/product_record.h"
#include "text/fixed_text.h"

// Writes a link to `target` that starts in the target's folder. `icon_file`
// and `arguments` may be nullptr or empty for none. False on any failure.
bool CreateShellLink(const char* target, const char* link_path, const char* icon_file, const char* arguments,
                     int icon_index);

// What the shortcut steps of one install work on.
struct ShortcutRun {
  ProductRecord& package;    // the options and folders being installed
  ProductRecord& installed;  // what is on the machine
  const char* product_name;
  const char* package_path;  // the running setup, which may be the installed setup copy
};

// Creates the start-menu folder on the first shortcut that needs it.
void EnsureStartMenuFolder(const ShortcutRun& run);

// The service and file shortcuts of one installed package file.
void MakeFileShortcuts(const ShortcutRun& run, const FileRecord& file, const char* installed_path);

// The path of the setup copy in the program folder, in `setup_copy`; true
// when this run is not that copy, so the caller writes it. A path that does
// not fit is refused through LogError, as the file stream refuses it.
bool PlanSetupCopy(const ShortcutRun& run, Text& setup_copy);

// Links to the setup copy (written already) from the start menu, and retires
// the old copy and its link when the program folder or the shortcut scope
// changed.
void InstallSetupShortcut(const ShortcutRun& run, const char* setup_copy);

// Update of a package file that was installed before (`old_file`, from the
// installed record) to its new record: removes the old shortcuts that the
// new options will not make again at the same place, and the service of a
// file that is no longer one or whose program moves to another folder.
void ReplaceFileShortcuts(const ShortcutRun& run, const FileRecord& old_file, const FileRecord& new_file);

void RemoveFileShortcuts(const ProductRecord& record, const FileRecord& file);
void RemoveServiceShortcuts(const ProductRecord& record, const char* service_name);
// Stops and deletes the service of an installed file, then removes its
// start-menu shortcuts when the record has them. A failure is reported
// through LogError ("The service %s has not been stoppt", "Service %s
// deinstallation failed") and leaves the service and its shortcuts. A
// service that runs another program than `image_path` is left running and
// registered, with a log line; only the product's shortcuts go.
void UninstallService(const ProductRecord& record, const char* service_name, const char* image_path);
// The service of a file that goes, or is no longer a service: uninstalled
// when it is registered; one that is gone already (a run that broke off
// removed it before its file) only loses its start-menu shortcuts.
void RemoveProgramService(const ProductRecord& record, const char* service_name, const char* image_path);
// Deletes the setup copy and its start-menu link. True when the copy is
// still there because it is the running program (`running_path`, the same
// file by its identity, whatever path named it), which
// the uninstall batch removes once the process has ended. Any other copy
// that cannot be deleted is logged ("File NOT deleted: %s") and aborts.
bool RemoveSetupCopy(const ProductRecord& record, const char* product_name, const char* running_path);
