// setup-driver: runs a whole install or uninstall without the setup window,
// for tests and benchmarks, as one call so that a test can also make many
// runs in its own process.
#pragma once

#include "app/driver/driver_command.h"

// setup-driver's exit code for a run ended dead at a crash point.
inline constexpr unsigned kStoppedExitCode = 9;

// Runs the command and prints what setup-driver prints; returns its exit
// code: 0 when the sequence ran to its end, 1 when it aborted, 2 when it
// could not start. The process directories must be initialised.
int RunDriverCommand(const DriverCommand& command);

// The changes to the machine that the last run made (counted when the
// command asked to print, stop or fail them).
unsigned ChangesOfLastRun();
