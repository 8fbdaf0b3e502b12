// The folders every run knows from start-up: where the running executable
// lies (it is also the package), the temporary folder, and the data folder.
#pragma once

#include "text/fixed_text.h"

struct ProcessPaths {
  SystemPath module_path;       // the running executable
  SystemPath module_folder;     // up to its last "\" or ":"
  SystemPath module_base_name;  // its file name without extension
  SystemPath temp_directory;    // without a trailing "\"
  SystemPath data_directory;    // where the log goes (the setup sets it to temp_directory)
};

const ProcessPaths& Process();

// Fills the paths once at start-up, before the application object is built.
void InitProcessDirectories();
void SetDataDirectory(const char* folder);
