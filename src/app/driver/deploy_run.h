// tarnell-deploy's run of one command (deploy_run.cpp says what it does).
#pragma once

#include "app/driver/deploy_command.h"

enum DeployExitCode : int {
  kExitDone = 0,
  kExitAborted = 1,         // the sequence aborted
  kExitUsage = 2,           // a wrong command line, or what the window refuses
  kExitPackageRefused = 3,  // damaged, unreadable, not a Tarnell setup
  kExitNotAdministrator = 4,
  kExitBusy = 5,     // another run of this product's setup holds it
  kExitStopped = 9,  // ended dead at a crash point (--stop-after)
};

// Runs the command and prints what tarnell-deploy prints (the usage or the
// version for --help and --version); its exit code.
// The process directories must be initialised.
int RunDeployCommand(DeployCommand command);

// The changes to the machine that the last run made (counted when the
// command asked to print, stop or fail them). Test build only.
unsigned ChangesOfLastRun();
