// SetupApplication: the one static application object. It is the program's
// logger for the whole run, writing each line to the log file (when one
// could be opened) and to the setup window's log view, and showing messages
// in its message box; and it carries the run from start to end.
#pragma once

#include <memory>
#include <optional>

#include "app/message_box.h"
#include "app/setup_window.h"
#include "log/line_view.h"
#include "log/logger.h"
#include "setup_log/setup_log.h"
#include "text/fixed_text.h"

class SetupApplication final : public Logger {
 public:
  SetupApplication();
  ~SetupApplication();

  // Opens the log, starts the user interface, writes "Setup started" and
  // starts the setup window. A failure ends the run with "Abort while
  // starting the program" and raises AbortError; no window is shown then.
  void Init();
  // Shows the setup window and turns the message loop until it closes.
  void Run();
  // Ends the run and writes `last_line` as the last log line.
  void Done(const char* last_line);

  [[noreturn]] void LogError(const char* text) override;
  void LogLine(const char* text) override;
  void LogFileLine(const char* text) override;
  void LogWrite(const char* text) override;
  // Shows the message box, also when no log file could be opened: a user
  // still learns how an install ended.
  void ShowMessage(const char* text) override;

  const char* LogPath() const { return log_.Path(); }

 private:
  void WriteLine(const char* text, bool to_view);
  void OpenLog();
  void CloseLog();
  bool StartUserInterface();
  void EndUserInterface();

  SetupLog log_;
  LineView* view_ = nullptr;
  bool interface_started_ = false;
  std::optional<SetupWindow> window_;
  std::unique_ptr<MessageBoxWindow> message_box_;
};

SetupApplication& Application();
