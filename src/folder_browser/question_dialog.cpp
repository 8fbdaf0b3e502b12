#include "folder_browser/question_dialog.h"

#include "graphics/graphics_resources.h"
#include "layouts/dialog_layouts.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/text_block.h"

QuestionDialog::QuestionDialog(DialogHandler& asked_by) : asked_by_(asked_by), table_(), window_(*this) {}

void QuestionDialog::Ask(const char* question) {
  question_ = question;
  table_ = QuestionLayout(question_.c_str());
  FitLayoutToText(table_.data(), static_cast<int>(table_.size()), kQuestionEntry, Graphics().NormalFont().Metrics(),
                  question_.c_str());
  window_.Open(table_.data(), static_cast<int>(table_.size()), "Please confirm");
}

void QuestionDialog::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kYes || code == key::kEnter) {
    window_.Hide();
    asked_by_.DialogCommand(kYes, kId);
  } else if (code == question_id::kNo || code == key::kEscape || code == command::kClose) {
    window_.Hide();
  }
}
