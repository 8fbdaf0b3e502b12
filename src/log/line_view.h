// Where the application's logger shows its lines besides the file: the
// setup window's log view, once the window exists.
#pragma once

class LineView {
 public:
  // Keeps the view from growing without end (at 1000 lines or more only the
  // newest 500 stay), then appends the prepared line.
  virtual void TrimAndAppend(const char* line) = 0;

 protected:
  ~LineView() = default;
};
