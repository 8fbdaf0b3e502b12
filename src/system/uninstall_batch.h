// Writes and starts the self-deleting uninstall batch at the very end of a
// run whose setup copy has to go. The batch lies in a new folder of its own
// with an unpredictable name that only administrators and the system may
// touch, under <Windows>\Temp, where no user may rename or replace another's
// folder (the user's %TEMP% is the user's to change): an elevated setup must
// not run a script that another process of the user could have swapped in.
//
// cmd.exe is started by its full path in the system folder, with /d (no
// AutoRun command from the registry) and the system folder as its working
// folder, so no cmd.bat planted beside the batch runs in its place.
#pragma once

// Nothing is reported: when the batch cannot be written or started, the
// program folder simply stays behind with the setup copy in it. Returns
// whether the batch was started (for tests).
bool WriteUninstallBatch(const char* module_path);
// The same with the private folder made in `parent_folder`.
bool WriteUninstallBatch(const char* module_path, const char* parent_folder);
