// RunInstall: what the install button does in every mode ("Install",
// "Update", "Repair", "Patch"). The sequence is always the same; what
// differs follows from what the installed record holds. It brings the
// machine from the installed state to the package's and updates the
// installed record after every step, so that an abort leaves a record that
// matches the machine and a later run can repair from there.
#pragma once

#include "app/setup_state.h"

// Installs the package at `package_path` (the running setup) with the
// options that ReadOptions put into the package record. Shows "The
// installation was successful" or "The installation aborted." and returns
// whether the sequence ran to its end. Sets the package record's
// uninstall_batch_pending when this run is an old setup copy that has to
// go once the process ends.
bool RunInstall(SetupState& state, const char* package_path);
