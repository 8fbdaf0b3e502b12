// What the process does before anything else, and how it stops.
#pragma once

#include <cstdint>

#include "text/command_line.h"

// Restricts DLL loading to the system folder, so that a setup started from a
// downloads folder never loads a library planted beside it with
// administrator rights. Runs before any other code of the program.
void RestrictDllSearchToSystem();

// No critical-error, open-file-error or fault boxes (SetErrorMode 0x8003).
void SuppressSystemErrorBoxes();

// The command line split into words; nothing in the setup reads it.
const CommandLineWords& CommandLineTable();

// Shows the run-time error box when `error_address` is set, then ends the
// process with `exit_code`.
[[noreturn]] void HaltProcess(std::uint32_t exit_code, std::uint32_t error_address);
