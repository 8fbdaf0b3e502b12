#include "text/command_line.h"

void SplitCommandLine(const char* command_line, CommandLineWords& out) {
  out.count = 0;
  const char* p = command_line;
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0' || out.count == CommandLineWords::kMaxWords) return;
    bool quoted = *p == '"';
    if (quoted) ++p;
    const char* start = p;
    while (*p != '\0' && (quoted ? *p != '"' : *p != ' ' && *p != '\t')) ++p;
    Text& word = out.words[out.count++];
    std::size_t length = static_cast<std::size_t>(p - start);
    if (length > Text::kMaxLength) length = Text::kMaxLength;
    for (std::size_t i = 0; i < length; ++i) word.data()[i] = start[i];
    word.data()[length] = '\0';
    if (quoted && *p == '"') ++p;
  }
}
