// QuestionDialog: the toolkit's "Please confirm" box with a question and
// "Yes" and "No". Like the message box it takes the size its question
// needs, so a long path shows whole. "Yes" or Enter hides it and tells the
// dialog that asked, DialogCommand(kYes, kId); "No", Escape and closing
// only hide it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "layouts/dialog_layouts.h"
#include "ui/widgets/dialog_window.h"

class QuestionDialog final : public DialogHandler {
 public:
  static constexpr std::uint16_t kId = question_id::kWindow;
  static constexpr unsigned kYes = question_id::kYes;

  explicit QuestionDialog(DialogHandler& asked_by);

  void Ask(const char* question);
  bool IsOpen() const { return window_.IsOpen(); }

  void DialogCommand(unsigned code, std::uint16_t id) override;

 private:
  DialogHandler& asked_by_;
  std::string question_;
  std::array<LayoutEntry, 6> table_;
  DialogWindow window_;
};
