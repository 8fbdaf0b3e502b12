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
