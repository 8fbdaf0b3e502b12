// The entry point: start-up, Init, Run, Done, Halt. The exit code is always
// 0, whatever happened; failures are in the log.
#include <windows.h>

#include "app/setup_application.h"
#include "fs/own_image.h"
#include "log/abort_error.h"
#include "system/process_paths.h"
#include "system/process_start.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystem();
  SuppressSystemErrorBoxes();
  InitProcessDirectories();
  // Before anything reads the package: the file that runs is the one read.
  HoldOwnImage(Process().module_path.c_str());
  CommandLineTable();

  SetupApplication& application = Application();
  try {
    application.Init();
  } catch (...) {
    HaltProcess(0, 0);
  }
  try {
    application.Run();
  } catch (...) {
    application.Done("Abort while executing the program");
    HaltProcess(0, 0);
  }
  application.Done("Setup ended");
  HaltProcess(0, 0);
}
