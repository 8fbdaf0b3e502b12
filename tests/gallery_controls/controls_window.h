// The controls page of the toolkit gallery: push and image buttons, check boxes,
// two radio groups, edit fields, the log view and a folder tree, built from
// its own layout table. Everything the controls report goes to the event
// log, and the "Report" button (or F5 on any control) writes their state
// there, for the test script that drives the window.
#pragma once

#include <memory>

#include "ui/widgets/container.h"
#include "ui/widgets/frame_window.h"

class ControlsRoot : public Container {
 public:
  ControlsRoot();
  ~ControlsRoot() override;
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override;
  void Notify(unsigned code, std::uint16_t id) override;
  void Close() override;

  // Makes the window and shows it at (x, y) on the screen; logs where each
  // control lies on the screen.
  void Start(const char* native_title, int x, int y);

 private:
  void Report();
  void FillLog();
  void LogExpanders();

  unsigned blink_time_;
  std::unique_ptr<FrameWindow> frame_;
};
