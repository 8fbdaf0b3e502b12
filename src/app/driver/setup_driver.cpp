// setup-driver: runs a whole install or uninstall without the setup window,
// for tests and benchmarks (see driver_run.h).
#include <cstdio>
#include <string>

#include "app/driver/driver_command.h"
#include "app/driver/driver_run.h"
#include "system/process_paths.h"
#include "system/process_start.h"

int main(int argc, char** argv) {
  SuppressSystemErrorBoxes();
  InitProcessDirectories();
  DriverCommand command;
  std::string error;
  if (!ParseDriverCommand(argc - 1, argv + 1, command, error)) {
    std::fprintf(stderr, "setup-driver: %s\n%s", error.c_str(), kDriverUsage);
    return 2;
  }
  return RunDriverCommand(command);
}
