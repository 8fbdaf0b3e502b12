#include "event_log.h"

#include <cstdarg>

bool EventLog::Open(const char* path) {
  file_ = std::fopen(path, "wb");  // no CR before the line ends
  return file_ != nullptr;
}

void EventLog::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void EventLog::Line(const char* format, ...) {
  if (file_ == nullptr) return;
  std::va_list arguments;
  va_start(arguments, format);
  std::vfprintf(file_, format, arguments);
  va_end(arguments);
  std::fputc('\n', file_);
  std::fflush(file_);
}

EventLog& Events() {
  static EventLog log;
  return log;
}
