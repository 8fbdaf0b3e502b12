#include "app/setup_application.h"

#include "app/setup_state.h"
#include "system/clock.h"
#include "system/process_paths.h"
#include "system/uninstall_batch.h"

SetupApplication::SetupApplication() : log_(UserDateFormat()) {}

SetupApplication& Application() {
  static SetupApplication application;
  return application;
}

void SetupApplication::OpenLog() {
  if (log_.Open(Process().data_directory.c_str(), Process().module_base_name.c_str())) SetCurrentLogger(this);
}

void SetupApplication::CloseLog() {
  log_.Close();
  SetCurrentLogger(nullptr);
}

void SetupApplication::BeginLog() {
  // The setup's own log belongs in the temporary folder.
  SetDataDirectory(Process().temp_directory.c_str());
  OpenLog();
  view_ = nullptr;
  CurrentLogger().LogLine("Setup started");
}

void SetupApplication::Init() {
  BeginLog();
  try {
    // The setup window starts here once it exists.
  } catch (...) {
    Done("Abort while starting the program");
    throw;
  }
}

void SetupApplication::Run() {}

void SetupApplication::Done(const char* last_line) {
  // The setup copy that an uninstall or a moved program folder left behind
  // is the running program: the batch removes it once the process has ended.
  if (TheSetupState().package.run_flag) {
    WriteUninstallBatch(Process().module_path.c_str(), Process().temp_directory.c_str());
  }
  view_ = nullptr;
  CurrentLogger().LogFileLine(last_line);
  CloseLog();
}

void SetupApplication::WriteLine(const char* text, bool to_view) {
  Text line = log_.PrepareLine(text);
  if (to_view && view_ != nullptr) view_->TrimAndAppend(line.c_str());
  log_.WriteLine(line.c_str());
}

void SetupApplication::LogError(const char* text) {
  WriteLine(text, true);
  throw AbortError{};
}

void SetupApplication::LogLine(const char* text) { WriteLine(text, true); }

void SetupApplication::LogFileLine(const char* text) { WriteLine(text, false); }

void SetupApplication::LogWrite(const char* text) { log_.Write(text); }

void SetupApplication::ShowMessage(const char*) {}
