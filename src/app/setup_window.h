// SetupWindow: the program's main window. It is built from its layout table
// once the package is read (rows the package does not need are left out),
// shows what the mode decision chose, and routes its commands: "Install"
// reads the options and runs the install, "Uninstall" the uninstall, the
// "Search" buttons open the folder browser, "Close" and Alt+F4 end the
// message loop. After a sequence succeeded, the buttons say what can be
// done next.
//
// The log view exists from construction on, so the run's first lines reach
// it before the window is built.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/setup_mode.h"
#include "app/setup_state.h"
#include "folder_browser/folder_browser.h"
#include "text/fixed_text.h"
#include "ui/widgets/container.h"
#include "ui/widgets/frame_window.h"
#include "ui/widgets/log_view.h"

class SetupWindow final : public Container {
 public:
  explicit SetupWindow(SetupState& state);
  ~SetupWindow() override;

  LogView& Log() { return *log_; }
  // Reads the package at `package_path` and the installation, opens the
  // skin, builds the window and shows the mode chosen. AbortError when the
  // package cannot be read; no window is made then.
  void Start(const char* package_path);
  // Shows the window, titled "<product> Setup", as the application's main
  // window.
  // False when the window cannot be made.
  bool Show();
  bool IsBuilt() const { return frame_ != nullptr; }
  FrameWindow* Frame() const { return frame_.get(); }

  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override;
  void Notify(unsigned code, std::uint16_t id) override;
  // Ends the message loop.
  void Close() override;

 private:
  void Build(int associations, bool data_folder_row);
  void ShowView(const SetupView& view);
  // Copies the options into the package record; false when a folder field
  // was refused (its text is too long).
  bool ReadOptionsFromWindow();
  void Install();
  void Uninstall();
  void SwapDataFolder();
  void TakeChosenFolder(std::uint16_t search_button);
  void OpenFolderBrowser(std::uint16_t search_button, std::uint16_t field);

  SetupState& state_;
  // The log view until the layout builder takes it; log_ stays.
  std::unique_ptr<LogView> own_log_;
  LogView* log_;
  Text title_;
  std::vector<LayoutEntry> table_;
  std::unique_ptr<FrameWindow> frame_;
  std::unique_ptr<FolderBrowser> browser_;
};
