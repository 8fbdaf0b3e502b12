#include "text/command_line.h"

std::vector<std::string> SplitCommandLine(const char* command_line) {
  std::vector<std::string> words;
  const char* p = command_line;
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') return words;
    std::string word;
    if (*p == '"') {
      for (++p; *p != '\0' && *p != '"'; ++p) word += *p;
      if (*p == '"') ++p;
    } else {
      for (; *p != '\0' && *p != ' ' && *p != '\t'; ++p) word += *p;
    }
    words.push_back(word);
  }
}
