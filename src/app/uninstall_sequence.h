// RunUninstall: what the uninstall button does. It works from the installed
// record alone and empties it step by step as the product leaves the
// machine; the registration goes last, so an abort leaves the product
// registered and a later run can finish the job.
#pragma once

#include "app/setup_state.h"
#include "package/product_record.h"

// Removes every installed file with its shortcuts and services, the setup
// copy and its shortcut, the associations, the PATH entry, the emptied
// folders and the registration. A setup copy that cannot go (it is the
// running program) sets the package record's uninstall_batch_pending. Shows
// "The Deinstallation was successful." or "The Deinstallation aborted." and
// returns whether it ran to its end.
bool RunUninstall(SetupState& state, bool keep_data);

// Removes one installed file: its shortcuts, its service, then the file
// itself unless it is a data file that the user keeps. A missing file counts
// as removed; any other failure ends in AbortError after its line.
void RemoveInstalledFile(const ProductRecord& record, const FileRecord& file, bool keep_data);

// Stops and removes the service of an installed service file with its
// shortcuts. A service that an earlier, aborted run removed already leaves
// only the shortcuts to remove.
void RemoveFileService(const ProductRecord& record, const FileRecord& file);

// Aborts through RefuseUntrustedLinks when a folder the record writes or
// deletes in (program, data, and the shortcut folders it uses, resolved)
// is or lies under a link that a non-administrator made.
void RefuseLinksOnFolders(const ProductRecord& record);

// Removes the folder when it is empty, and then its emptied parents.
void RemoveEmptyFolderAndParents(const char* folder);
