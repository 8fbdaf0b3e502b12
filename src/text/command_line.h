// Splits a command line into words: a run of characters up to a blank, or a
// double-quoted run with the quotes removed. The setup reads no argument;
// the table exists for the run-time start-up and the test tools.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> SplitCommandLine(const char* command_line);
