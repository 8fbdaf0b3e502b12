// tarnell-deploy: the setup without its window, for administrators who roll
// a product out to many machines and for the tests (deploy_run.h).
#include <cstdio>
#include <string>
#include <utility>

#include "app/driver/deploy_command.h"
#include "app/driver/deploy_run.h"
#include "system/process_paths.h"
#include "system/process_start.h"

int main(int argc, char** argv) {
  RestrictDllSearchToSystem();
  SuppressSystemErrorBoxes();
  InitProcessDirectories();
  DeployCommand command;
  std::string error;
  if (!ParseDeployCommand(argc - 1, argv + 1, command, error)) {
    std::fprintf(stderr, "tarnell-deploy: %s\n", error.c_str());
    std::fputs(kDeployUsage, stderr);
    return kExitUsage;
  }
  return RunDeployCommand(std::move(command));
}
