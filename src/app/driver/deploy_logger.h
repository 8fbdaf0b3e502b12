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

  // Opens, when `copy_path` is given, the copy (false when it cannot be
  // written: nothing else is done then), and with `write_log` the log of the
  // setup at `setup_path`; becomes the current logger and writes "Setup
  // started". `echo` sends the lines to standard output as well.
  bool Begin(const char* setup_path, const char* copy_path, bool echo, bool write_log);
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
