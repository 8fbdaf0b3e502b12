// MessageBoxWindow: the application's message box, "Message" with a symbol,
// the text and "OK". Each message builds the box afresh, sized to its text
// with "OK" in the middle, and shows it modal over the current top window;
// showing does not wait for the user. A message that comes while a box is
// still open replaces it. "OK", Enter, Escape and closing hide the box.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "layouts/message_box_layout.h"
#include "ui/widgets/dialog_window.h"

class MessageBoxWindow final : public DialogHandler {
 public:
  static constexpr std::uint16_t kId = message_box_id::kWindow;
  static constexpr std::uint16_t kTextId = message_box_id::kText;
  static constexpr std::uint16_t kOkId = message_box_id::kOk;

  MessageBoxWindow();

  void Show(const char* text);
  bool IsOpen() const { return window_.IsOpen(); }
  const char* Text() const { return text_.c_str(); }
  // The window and size the last message got.
  const FrameWindow* Frame() const { return window_.Frame(); }

  void DialogCommand(unsigned code, std::uint16_t id) override;

 private:
  std::string text_;
  std::array<LayoutEntry, 5> table_;
  DialogWindow window_;
};
