// The setup log file: "<base>.log", "<base>1.log" … "<base>999.log" in the
// log folder, the first that opens and is under 10 MiB; appended to across
// runs; one time-stamped line per call, ended by CR LF, written at once so
// the file is complete even when the process is killed.
#pragma once

#include <cstdint>

#include "fs/append_file.h"
#include "log/time_stamp.h"
#include "text/fixed_text.h"

class SetupLog {
 public:
  static constexpr std::uint64_t kSizeLimit = 10485760;
  static constexpr int kLastNumber = 999;
  // A line with its CR LF stays within this many characters.
  static constexpr std::size_t kLineLimit = 512;

  explicit SetupLog(const DateFormat& format) : format_(format) {}

  // Tries the numbered names in `folder`; false when none could be opened.
  bool Open(const char* folder, const char* base_name);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  const char* Path() const { return path_.c_str(); }

  // The time stamp, two blanks and the text, cut so that the line and its
  // CR LF fit kLineLimit.
  Text PrepareLine(const char* text) const;
  // Writes a prepared line and its CR LF.
  void WriteLine(const char* prepared);
  // Writes the text unchanged.
  void Write(const char* text);

 private:
  AppendFile file_;
  Text path_;
  DateFormat format_;
};
