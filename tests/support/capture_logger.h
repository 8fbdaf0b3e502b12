// A logger for tests: keeps every line it is given, in order, and raises
// AbortError from LogError as the program's logger does.
#pragma once

#include <string>
#include <vector>

#include "log/logger.h"

class CaptureLogger final : public Logger {
 public:
  CaptureLogger() { SetCurrentLogger(this); }
  ~CaptureLogger() { SetCurrentLogger(nullptr); }

  [[noreturn]] void LogError(const char* text) override {
    errors.push_back(text);
    lines.push_back(text);
    throw AbortError{};
  }
  void LogLine(const char* text) override { lines.push_back(text); }
  void LogFileLine(const char* text) override { file_lines.push_back(text); }
  void LogWrite(const char* text) override { file_lines.push_back(text); }
  void ShowMessage(const char* text) override { messages.push_back(text); }

  std::vector<std::string> lines;       // LogLine and LogError, as the view sees them
  std::vector<std::string> errors;      // LogError alone
  std::vector<std::string> file_lines;  // LogFileLine and LogWrite
  std::vector<std::string> messages;
};
