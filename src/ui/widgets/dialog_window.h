// DialogWindow: a modal dialog built from its layout table each time it is
// opened, so every showing starts from the table (a message box sized to its
// text, a folder tree read afresh). The dialog's behaviour is its handler:
// the commands of its widgets reach DialogCommand, and so do the keys the
// focused widget passes on (Enter, Escape and the rest) and the close
// request (Alt+F4, the close button) as command::kClose.
//
// Opening shows the dialog over the current top window, which stays
// disabled until the dialog is hidden. Open never waits for the user.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/widgets/container.h"
#include "ui/widgets/frame_window.h"
#include "ui/widgets/layout_entry.h"

// Centres the window on the screen (the screen context's HORZRES and
// VERTRES, the whole screen).
void CentreOnScreen(NativeWindow& window);

class DialogHandler {
 public:
  // A command or key from widget `id` of the dialog.
  virtual void DialogCommand(unsigned code, std::uint16_t id) = 0;
  // Lets the handler make the widget of an entry itself; null leaves it to
  // the entry's class.
  virtual std::unique_ptr<Widget> DialogWidget(const LayoutEntry& entry, Container& root);

 protected:
  ~DialogHandler() = default;
};

class DialogWindow {
 public:
  explicit DialogWindow(DialogHandler& handler);
  ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Drops the dialog shown before, builds `count` entries of `table` and
  // shows them titled `title` (the system window's title). The table must
  // outlive the dialog.
  void Open(const LayoutEntry* table, int count, const char* title);
  // Hides the dialog and gives its owner back; the widgets stay until the
  // next Open, so a handler may call it from inside a command.
  void Hide();
  bool IsOpen() const;
  // The dialog's widgets; null before the first Open.
  Container* Root() const;
  FrameWindow* Frame() const { return frame_.get(); }

 private:
  class RootContainer;

  DialogHandler& handler_;
  std::unique_ptr<RootContainer> root_;
  std::unique_ptr<FrameWindow> frame_;
};
