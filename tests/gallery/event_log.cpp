#include "event_log.h"

#include <cstdarg>

#include "ui/widgets/frame_window.h"
#include "ui/widgets/title_bar.h"

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

void LogCloseButton(const FrameWindow& frame, TitleBar& bar) {
  Rect area = TitleButtonArea(Rect{0, 0, bar.Width(), bar.Height()}, bar.ButtonsWidth(), kCloseButton);
  Point at = frame.ClientToScreen(Point{bar.X() + area.left, bar.Y() + area.top});
  Events().Line("close-button %d %d %d %d", at.x, at.y, area.Width(), area.Height());
}
