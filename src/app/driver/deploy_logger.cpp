#include "app/driver/deploy_logger.h"

#include <cstdio>
#include <cstring>

#include "system/clock.h"
#include "system/process_paths.h"
#include "text/path.h"

namespace {

// The file name up to its last dot, as the setup names its own log.
SystemPath BaseName(const char* path) {
  SystemPath name;
  LastComponent(name, path);
  if (char* dot = std::strrchr(name.data(), '.')) *dot = '\0';
  return name;
}

}  // namespace

DeployLogger::DeployLogger() : log_(UserDateFormat()) {}

DeployLogger::~DeployLogger() {
  if (&CurrentLogger() == this) SetCurrentLogger(nullptr);
}

bool DeployLogger::Begin(const char* setup_path, const char* copy_path, bool echo, bool write_log) {
  // The administrator asked for the copy: a run without it would lose it.
  if (copy_path != nullptr && copy_.Open(copy_path, UINT64_MAX) != AppendFile::OpenResult::kOpened) return false;
  echo_ = echo;
  if (write_log) {
    SetDataDirectory(Process().temp_directory.c_str());
    log_.Open(Process().data_directory.c_str(), BaseName(setup_path).c_str());
  }
  // Without a log file the lines still reach standard output and the copy.
  SetCurrentLogger(this);
  LogLine("Setup started");
  return true;
}

void DeployLogger::End(const char* last_line) {
  LogLine(last_line);
  SetCurrentLogger(nullptr);
  log_.Close();
  copy_.Close();
}

void DeployLogger::WriteLine(const char* text) {
  Text line = log_.PrepareLine(text);
  log_.WriteLine(line.c_str());
  if (copy_.IsOpen()) {
    copy_.Write(line.c_str(), line.size());
    copy_.Write("\r\n", 2);
  }
  if (echo_) {
    std::puts(line.c_str());
    std::fflush(stdout);
  }
}

void DeployLogger::LogError(const char* text) {
  WriteLine(text);
  last_error = text;
  throw AbortError{};
}

void DeployLogger::LogLine(const char* text) { WriteLine(text); }

void DeployLogger::LogFileLine(const char* text) { WriteLine(text); }

void DeployLogger::LogWrite(const char* text) {
  log_.Write(text);
  if (copy_.IsOpen()) copy_.Write(text, std::strlen(text));
}
