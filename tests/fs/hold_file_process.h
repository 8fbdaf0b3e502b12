// Starts hold_file.exe on a path and waits until it holds the file; the
// file is let go when the object ends.
#pragma once

#include <windows.h>

#include <string>

class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  bool Held() const { return held_; }

 private:
  PROCESS_INFORMATION process_{};
  HANDLE to_child_ = nullptr;
  bool held_ = false;
};
