// The gallery's event log: one line per thing that happened, written at
// once, so that the test script driving the gallery can wait for a line
// and read what the toolkit did.
#pragma once

#include <cstdio>

class EventLog {
 public:
  bool Open(const char* path);
  void Close();
  // A printf-style line; the newline is added.
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  std::FILE* file_ = nullptr;
};

EventLog& Events();

class FrameWindow;
class TitleBar;
// "close-button X Y WIDTH HEIGHT": where the shown window's close button lies
// on the screen, for the script to press it by name.
void LogCloseButton(const FrameWindow& frame, TitleBar& bar);
