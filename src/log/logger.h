// The program-wide logging interface and the pointer to the current logger.
//
// Every part of the program reports through CurrentLogger(). Until a log file
// is open (and again after it is closed) that is the NullLogger, which writes
// nothing. Its LogError still raises AbortError: a failure must stop the step
// that met it whether or not there is a file to note it in.
#pragma once

#include "log/abort_error.h"

class Logger {
 public:
  // Writes the line to the log view and the log file, then raises AbortError.
  [[noreturn]] virtual void LogError(const char* text) = 0;
  // Writes the line to the log view and the log file.
  virtual void LogLine(const char* text) = 0;
  // Writes the line to the log file only.
  virtual void LogFileLine(const char* text) = 0;
  // Writes the text to the log file unchanged: no time stamp, no line end.
  virtual void LogWrite(const char* text) = 0;
  // Shows the text in the application's message box without waiting.
  virtual void ShowMessage(const char* text) = 0;

 protected:
  ~Logger() = default;
};

class NullLogger final : public Logger {
 public:
  [[noreturn]] void LogError(const char*) override { throw AbortError{}; }
  void LogLine(const char*) override {}
  void LogFileLine(const char*) override {}
  void LogWrite(const char*) override {}
  void ShowMessage(const char*) override {}
};

Logger& CurrentLogger();
// Makes `logger` the current logger; nullptr restores the NullLogger.
void SetCurrentLogger(Logger* logger);

// The formatting helpers: "%s" placeholders filled in order (see text/format.h),
// the result cut to 512 characters.
[[noreturn]] void LogErrorWith(const char* pattern, const char* first);
[[noreturn]] void LogErrorWith(const char* pattern, const char* first, const char* second);
void LogLineWith(const char* pattern, const char* first);
void LogLineWith(const char* pattern, const char* first, const char* second);
