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

#include "app/product_record.h"
#include "text/fixed_text.h"

// Writes a link to `target` that starts in the target's folder. `icon_file`
// and `arguments` may be nullptr or empty for none. False on any failure.
bool CreateShellLink(const char* target, const char* link_path, const char* icon_file, const char* arguments,
                     int icon_index);

// What the shortcut steps of one install work on.
struct ShortcutRun {
  ProductRecord& package;    // the options and folders being installed; run flag: UninstallBatchPending
  ProductRecord& installed;  // what is on the machine; run flag: StartMenuFolderMade
  const char* product_name;
  const char* package_path;  // the running setup, which may be the installed setup copy
};

// Creates the start-menu folder on the first shortcut that needs it.
void EnsureStartMenuFolder(const ShortcutRun& run);

// The service and file shortcuts of one installed package file.
void MakeFileShortcuts(const ShortcutRun& run, const FileRecord& file, const char* installed_path);

// Writes the setup copy into the program folder (unless this run is that
// copy), links to it from the start menu, and retires the old copy and its
// link when the program folder or the shortcut scope changed. `setup_copy`
// receives the copy's path for the registration.
using SetupCopyWriter = void (*)(const char* copy_path);
void InstallSetupShortcut(const ShortcutRun& run, SetupCopyWriter write_copy, Text& setup_copy);

// Update of a package file that was installed before (`old_file`, from the
// installed record) to its new record: removes the old shortcuts that the
// new options will not make again at the same place, and the service of a
// file that is no longer one.
void ReplaceFileShortcuts(const ShortcutRun& run, const FileRecord& old_file, const FileRecord& new_file);

void RemoveFileShortcuts(const ProductRecord& record, const FileRecord& file);
void RemoveServiceShortcuts(const ProductRecord& record, const char* service_name);
// Deletes the setup copy and its start-menu link. True when the copy is
// still there because it is the running program (`running_path`), which
// the uninstall batch removes once the process has ended. Any other copy
// that cannot be deleted is logged ("File NOT deleted: %s") and aborts.
bool RemoveSetupCopy(const ProductRecord& record, const char* product_name, const char* running_path);
