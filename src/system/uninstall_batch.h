// Writes and starts the self-deleting uninstall batch at the very end of a
// run whose setup copy has to go. The batch lies in a new folder of its own
// with an unpredictable name that only administrators and the system may
// touch: an elevated setup must not run a script that another process of
// the user could have swapped in between.
#pragma once

// Nothing is reported: when the batch cannot be written or started, the
// program folder simply stays behind with the setup copy in it. Returns
// whether the batch was started (for tests).
bool WriteUninstallBatch(const char* module_path, const char* temp_directory);
