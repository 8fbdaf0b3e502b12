// File-system operations that report their outcome in the setup log and
// return a bool instead of aborting: the caller decides whether a failure
// ends its work. "Not found" counts as success for every removal.
#pragma once

#include <cstdint>

bool PathExists(const char* path);
// Whether two paths name one existing file, by its identity (volume serial
// and file index), so that a short (8.3) name, a substituted drive or a
// second hard link counts as the same file.
bool SameFile(const char* a, const char* b);

// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolderChain(const char* path, bool log_success);

// Removes the folder with everything in it; true when it was removed. On the
// first entry that cannot go, stops and leaves the rest in place. A link
// (junction, symbolic link) is removed itself, never what it points to.
bool DeleteFolderTree(const char* path, bool log_success);
bool DeleteFolderTree(const char* folder, const char* name, bool log_success);

// Which outcomes DeleteFileLogged writes to the log.
enum class DeleteReport : std::uint8_t {
  kSuccess = 1,  // "File deleted: %s"
  kBoth = 2,     // success and failure
  kFailure = 3,  // "File NOT deleted: %s" (install and uninstall)
  kSilent = 4,   // nothing (inside folder trees, the setup copy)
};

// Deletes the file, read-only or not; true when it is gone afterwards.
bool DeleteFileLogged(const char* path, DeleteReport report);
bool DeleteFileLogged(const char* folder, const char* name, DeleteReport report);

// Renames a file or folder within `folder`, never replacing an existing one.
bool RenameInFolder(const char* folder, const char* old_name, const char* new_name);
