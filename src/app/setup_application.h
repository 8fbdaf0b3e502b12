// SetupApplication: the one static application object. It is the program's
// logger while its log file is open, writing each line to the log file and
// to the setup window's log view, and it carries the run from start to end.
#pragma once

#include "log/line_view.h"
#include "log/logger.h"
#include "log/setup_log.h"
#include "text/fixed_text.h"

class SetupApplication final : public Logger {
 public:
  SetupApplication();

  // Opens the log, writes "Setup started" and starts the setup window.
  void Init();
  // Opens the log in the temporary folder and writes "Setup started". Init
  // begins with it; the test driver, which has no window, calls it alone.
  void BeginLog();
  // Shows the setup window and turns the message loop until it closes.
  void Run();
  // Ends the run and writes `last_line` as the last log line.
  void Done(const char* last_line);

  [[noreturn]] void LogError(const char* text) override;
  void LogLine(const char* text) override;
  void LogFileLine(const char* text) override;
  void LogWrite(const char* text) override;
  void ShowMessage(const char* text) override;

  const char* LogPath() const { return log_.Path(); }

 private:
  void WriteLine(const char* text, bool to_view);
  void OpenLog();
  void CloseLog();

  SetupLog log_;
  LineView* view_ = nullptr;
};

SetupApplication& Application();
