// Runs a program to its end from a test: `program` may be null (the command
// line's first word names it), `environment` is a block for CreateProcessA or
// null for the test's own. Returns its exit code; kNotStarted when it could
// not start, STILL_ACTIVE when it was still running after `timeout_ms`.
#pragma once

#include <windows.h>

#include <string>

inline constexpr DWORD kNotStarted = 0xFFFFFFFF;

DWORD RunProgramToEnd(const char* program, std::string command, char* environment, DWORD timeout_ms);
