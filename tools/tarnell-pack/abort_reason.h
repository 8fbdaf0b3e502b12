// The builder runs the setup's own package reader and decoder, which report
// a failure as one line through the current logger and raise AbortError.
// AbortReason installs a logger that keeps that line, so the builder can
// turn the abort into a PackError that says what the setup would have said.
#pragma once

#include <string>

#include "log/logger.h"

class AbortReason final : public Logger {
 public:
  AbortReason() { SetCurrentLogger(this); }
  ~AbortReason() { SetCurrentLogger(nullptr); }
  AbortReason(const AbortReason&) = delete;
  AbortReason& operator=(const AbortReason&) = delete;

  [[noreturn]] void LogError(const char* text) override {
    line_ = text;
    throw AbortError{};
  }
  void LogLine(const char*) override {}
  void LogFileLine(const char*) override {}
  void LogWrite(const char*) override {}
  void ShowMessage(const char*) override {}

  // The last error line, or `otherwise` for an abort without one (the
  // decoder's refusals); cleared for the next step.
  std::string Take(const std::string& otherwise) {
    std::string line = line_.empty() ? otherwise : line_;
    line_.clear();
    return line;
  }

 private:
  std::string line_;
};
