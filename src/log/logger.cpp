#include "log/logger.h"

#include "text/fixed_text.h"
#include "text/format.h"

namespace {

NullLogger null_logger;
Logger* current_logger = &null_logger;

}  // namespace

Logger& CurrentLogger() { return *current_logger; }

void SetCurrentLogger(Logger* logger) { current_logger = logger ? logger : &null_logger; }

void LogErrorWith(const char* pattern, const char* first) {
  Text line;
  FormatOne(line, pattern, first);
  CurrentLogger().LogError(line.c_str());
  throw AbortError{};  // not reached: LogError always raises
}

void LogErrorWith(const char* pattern, const char* first, const char* second) {
  Text line;
  const char* args[] = {first, second};
  FormatMany(line, pattern, args, 2);
  CurrentLogger().LogError(line.c_str());
  throw AbortError{};  // not reached: LogError always raises
}

void LogLineWith(const char* pattern, const char* first) {
  Text line;
  FormatOne(line, pattern, first);
  CurrentLogger().LogLine(line.c_str());
}

void LogLineWith(const char* pattern, const char* first, const char* second) {
  Text line;
  const char* args[] = {first, second};
  FormatMany(line, pattern, args, 2);
  CurrentLogger().LogLine(line.c_str());
}
