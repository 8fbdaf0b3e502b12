// The file pass of an install: what the installed product has and the
// package no longer carries goes first, data files follow a moved data
// folder, then every package file is written with its service and
// shortcuts. The installed record follows each file as it changes, so that
// an abort leaves it describing the files that are on the machine.
#pragma once

#include <vector>

#include "package/extract_file.h"
#include "package/package_directory.h"
#include "system/shortcuts.h"

void InstallFiles(const ShortcutRun& run, ExtractionContext& extraction);

// Writes one package file into its folder, registers it as a service when
// it is one and makes its shortcuts. A file that is never written (data
// folder, untouched) gets nothing.
void InstallFile(const ShortcutRun& run, ExtractionContext& extraction, const FileRecord& file);

// The product's services whose programs an update replaces or removes are
// stopped before anything is written: a running program cannot be
// replaced. One that does not stop ends the run ("The service %s has not
// been stoppt"). `to_restart` receives the services that were running and
// stay services, for RestartServices once the files are written.
void StopReplacedServices(const ShortcutRun& run, std::vector<Text>& to_restart);
void RestartServices(const std::vector<Text>& services);
