// Starts hold_file.exe on a path and waits until it holds the file; the
// file is let go when the object ends.
#pragma once

#include <windows.h>

#include <string>

#include "handles/owned_handle.h"

class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  bool Held() const { return held_; }

 private:
  KernelHandle process_;
  KernelHandle to_child_;
  bool held_ = false;
};
