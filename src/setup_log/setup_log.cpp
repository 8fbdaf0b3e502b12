#include "setup_log/setup_log.h"

#include <cstring>

#include "system/clock.h"
#include "text/number.h"
#include "text/path.h"
#include "text/text.h"

bool SetupLog::Open(const char* folder, const char* base_name) {
  for (int number = 0; number <= kLastNumber; ++number) {
    Text name(base_name);
    if (number > 0) AppendDecimal(name, static_cast<std::uint16_t>(number));
    AppendText(name, ".log");
    if (!PathJoin(path_, folder, name.c_str())) continue;
    if (file_.Open(path_.c_str(), kSizeLimit) == AppendFile::OpenResult::kOpened) return true;
  }
  path_.Clear();
  return false;
}

void SetupLog::Close() { file_.Close(); }

Text SetupLog::PrepareLine(const char* text) const {
  Text line(FormatTimeStamp(format_, LocalTimeNow()).c_str());
  line.Append("  ");
  // Keep room for the line end, so that no line runs into the next one.
  std::size_t room = kLineLimit - 2 - line.size();
  Text cut(text);
  if (cut.size() > room) cut.data()[room] = '\0';
  line.Append(cut.c_str());
  return line;
}

void SetupLog::WriteLine(const char* prepared) {
  if (!file_.IsOpen()) return;
  Text line(prepared);
  AppendLimited(line, "\r\n");
  file_.Write(line.c_str(), line.size());
}

void SetupLog::Write(const char* text) { file_.Write(text, std::strlen(text)); }
