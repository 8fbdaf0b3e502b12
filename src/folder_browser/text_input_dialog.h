// TextInputDialog: the toolkit's dialog that asks for one line of text, with
// "OK" and "Cancel"; its caption is set for each question. "OK" or Enter
// hides it and tells the dialog that asked, DialogCommand(kConfirmed, kId),
// which then reads Answer(); "Cancel", Escape and closing only hide it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "layouts/dialog_layouts.h"
#include "text/fixed_text.h"
#include "ui/widgets/dialog_window.h"

class TextInputDialog final : public DialogHandler {
 public:
  static constexpr std::uint16_t kId = text_input_id::kWindow;
  static constexpr unsigned kConfirmed = 1720;

  explicit TextInputDialog(DialogHandler& asked_by);

  void Ask(const char* caption, const char* initial);
  bool IsOpen() const { return window_.IsOpen(); }
  const char* Answer() const { return answer_.c_str(); }

  void DialogCommand(unsigned code, std::uint16_t id) override;

 private:
  DialogHandler& asked_by_;
  Text caption_;
  std::array<LayoutEntry, 6> table_;
  DialogWindow window_;
  std::string answer_;
};
