// The deploy tool's logger: the setup log that the setup itself would write
// (in the temporary folder, named after the setup), each line also on
// standard output and in an optional copy the administrator names. The
// sequences' message box text is kept instead of shown: the tool never
// opens a window.
#pragma once

#include <string>

#include "fs/append_file.h"
#include "log/logger.h"
#include "setup_log/setup_log.h"

class DeployLogger final : public Logger {
 public:
  DeployLogger();
  ~DeployLogger();

  // Opens the log of the setup at `setup_path` and, when `copy_path` is
  // given, the copy; becomes the current logger and writes "Setup started".
  // `echo` sends the lines to standard output as well.
  void Begin(const char* setup_path, const char* copy_path, bool echo);
  // Writes `last_line` and closes the files.
  void End(const char* last_line);

  [[noreturn]] void LogError(const char* text) override;
  void LogLine(const char* text) override;
  void LogFileLine(const char* text) override;
  void LogWrite(const char* text) override;
  void ShowMessage(const char* text) override { message = text; }

  std::string message;     // what the message box would have shown
  std::string last_error;  // the line of the last failure

 private:
  void WriteLine(const char* text);

  SetupLog log_;
  AppendFile copy_;
  bool echo_ = false;
};
