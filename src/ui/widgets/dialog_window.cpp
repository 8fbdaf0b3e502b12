#include "ui/widgets/dialog_window.h"

#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"

void CentreOnScreen(NativeWindow& window) {
  HDC screen = Graphics().Screen();
  window.MoveTo((GetDeviceCaps(screen, HORZRES) - window.Width()) / 2,
                (GetDeviceCaps(screen, VERTRES) - window.Height()) / 2);
}

std::unique_ptr<Widget> DialogHandler::DialogWidget(const LayoutEntry&, Container&) { return nullptr; }

class DialogWindow::RootContainer final : public Container {
 public:
  RootContainer(const LayoutEntry& entry, DialogHandler& handler) : Container(entry, nullptr), handler_(handler) {
    enabled_ = true;
  }
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override {
    return handler_.DialogWidget(entry, *this);
  }
  void Notify(unsigned code, std::uint16_t id) override { handler_.DialogCommand(code, id); }
  void Close() override { handler_.DialogCommand(command::kClose, 0); }

 private:
  DialogHandler& handler_;
};

DialogWindow::DialogWindow(DialogHandler& handler) : handler_(handler) {}

// The window goes before the widgets it shows.
DialogWindow::~DialogWindow() { frame_.reset(); }

void DialogWindow::Open(const LayoutEntry* table, int count, const char* title) {
  frame_.reset();
  root_ = std::make_unique<RootContainer>(table[0], handler_);
  frame_ = std::make_unique<FrameWindow>(*root_, table, count, WindowKind::kDialog);
  // Nothing to centre on: the middle of the screen.
  if (CurrentTopWindow() == nullptr) CentreOnScreen(*frame_);
  // The title is only taken when the window is made: the window procedure
  // leaves WM_SETTEXT unanswered.
  frame_->CreateNative(title);
  frame_->Show();
}

void DialogWindow::Hide() {
  if (frame_ != nullptr) frame_->Hide();
}

bool DialogWindow::IsOpen() const { return frame_ != nullptr && frame_->Exists() && IsWindowVisible(frame_->Handle()); }

Container* DialogWindow::Root() const { return root_.get(); }
