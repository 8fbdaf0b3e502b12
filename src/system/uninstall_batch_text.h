// The text of the self-deleting uninstall batch. A running program cannot
// delete its own file, so the setup copy that has to go leaves a batch that
// waits until the setup has ended, deletes it, removes its folder and each
// emptied parent, and deletes itself and the private folder it lies in.
#pragma once

#include <string>

// `module_path` is the running setup; `batch_folder` the full path of the
// batch's own folder (removed last; empty for none); `command_processor` the
// full path of cmd.exe, which runs that last step, so no cmd of the working
// folder or PATH is run. Paths are written as they are when cmd reads them as
// one word, quoted otherwise.
std::string UninstallBatchText(const char* module_path, const char* batch_folder, const char* command_processor);
