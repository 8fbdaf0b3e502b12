#include "system/folder_browser/question_dialog.h"

#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/text_block.h"

namespace {

constexpr std::uint16_t kQuestionId = 1115;
constexpr std::uint16_t kNoId = 1730;
constexpr int kQuestionEntry = 2;

}  // namespace

QuestionDialog::QuestionDialog(DialogHandler& askedBy) : askedBy_(askedBy), table_(), window_(*this) {}

void QuestionDialog::Ask(const char* question) {
  question_ = question;
  table_ = {{
      {kId, kWindowKind, 0x00, 10, 10, 180, 100, ""},
      {0, kTitleBarKind, 0x04, 0, 0, 180, 20, "Please confirm"},
      {kQuestionId, kLabelKind, 0x0C, 42, 20, 132, 40, question_.c_str()},
      {0, kPictureKind, 0x00, 5, 25, 16, 16, "askbmp"},
      {static_cast<std::uint16_t>(kYes), kButtonKind, 0x02, 12, 68, 72, 24, "Yes"},
      {kNoId, kButtonKind, 0x03, 96, 68, 72, 24, "No"},
  }};
  FitLayoutToText(table_.data(), static_cast<int>(table_.size()), kQuestionEntry, Graphics().NormalFont().Metrics(),
                  question_.c_str());
  window_.Open(table_.data(), static_cast<int>(table_.size()), "Please confirm");
}

void QuestionDialog::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kYes || code == key::kEnter) {
    window_.Hide();
    askedBy_.DialogCommand(kYes, kId);
  } else if (code == kNoId || code == key::kEscape || code == command::kClose) {
    window_.Hide();
  }
}
