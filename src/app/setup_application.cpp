#include "app/setup_application.h"

#include "app/setup_state.h"
#include "graphics/graphics_resources.h"
#include "graphics/skin_archive.h"
#include "system/clock.h"
#include "system/process_paths.h"
#include "system/uninstall_batch.h"
#include "ui/core/wait_table.h"
#include "ui/core/window_classes.h"
#include "ui/widgets/toolkit.h"

SetupApplication::SetupApplication() : log_(UserDateFormat()) {}

SetupApplication::~SetupApplication() = default;

SetupApplication& Application() {
  static SetupApplication application;
  return application;
}

void SetupApplication::OpenLog() {
  // The setup's own log belongs in the temporary folder.
  SetDataDirectory(Process().temp_directory.c_str());
  if (log_.Open(Process().data_directory.c_str(), Process().module_base_name.c_str())) SetCurrentLogger(this);
}

void SetupApplication::CloseLog() {
  log_.Close();
  SetCurrentLogger(nullptr);
}

bool SetupApplication::StartUserInterface() {
  interface_started_ = true;
  return Graphics().Create() && StartToolkit();
}

void SetupApplication::EndUserInterface() {
  if (!interface_started_) return;
  CloseToolkit();
  Skin().Close();
  Graphics().Release();
  interface_started_ = false;
}

void SetupApplication::Init() {
  OpenLog();
  // Without a log file the run still shows its lines and its messages.
  SetCurrentLogger(this);
  view_ = nullptr;
  try {
    if (!StartUserInterface()) throw AbortError{};
    window_.emplace(TheSetupState());
    view_ = &window_->Log();
    LogLine("Setup started");
    window_->Start(Process().module_path.c_str());
  } catch (...) {
    // Another run of this product is going on: the user meets its window.
    SetupState& state = TheSetupState();
    if (state.lock.Busy()) {
      Text title(state.product_name.c_str());
      title.Append(" Setup");
      BringApplicationWindowToFront(title.c_str());
    }
    Done(state.lock.Busy() ? "Setup ended" : "Abort while starting the program");
    throw;
  }
}

void SetupApplication::Run() {
  // Without its window the loop would wait for ever: an elevated process
  // that nobody can see or end.
  if (!window_->Show()) {
    LogFileLine("Abort while starting the program");
    return;
  }
  RunLoop();
}

void SetupApplication::Done(const char* last_line) {
  view_ = nullptr;
  message_box_.reset();
  window_.reset();
  // The setup copy that an uninstall or a moved program folder left behind
  // is the running program: the batch removes it once the process has ended.
  if (TheSetupState().package.uninstall_batch_pending) {
    WriteUninstallBatch(Process().module_path.c_str());
  }
  CurrentLogger().LogFileLine(last_line);
  EndUserInterface();
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

void SetupApplication::ShowMessage(const char* text) {
  if (!interface_started_ || !window_.has_value()) return;
  if (message_box_ == nullptr) message_box_ = std::make_unique<MessageBoxWindow>();
  message_box_->Show(text);
}
