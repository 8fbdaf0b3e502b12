// Splits a command line into words: a run of characters up to a blank, or a
// double-quoted run with the quotes removed. The setup reads no argument;
// the table exists for the run-time start-up.
#pragma once

#include <cstddef>

#include "text/fixed_text.h"

struct CommandLineWords {
  static constexpr std::size_t kMaxWords = 16;  // further words are dropped
  std::size_t count = 0;
  Text words[kMaxWords];  // each cut to 512 characters
};

void SplitCommandLine(const char* command_line, CommandLineWords& out);
