#include "system/folder_browser/text_input_dialog.h"

#include "ui/core/key_codes.h"
#include "ui/widgets/picture.h"

namespace {

constexpr std::uint16_t kCaptionId = 1105;
constexpr std::uint16_t kFieldId = 1110;
constexpr std::uint16_t kOkId = 1720;
constexpr std::uint16_t kCancelId = 1715;

}  // namespace

TextInputDialog::TextInputDialog(DialogHandler& askedBy) : askedBy_(askedBy), table_(), window_(*this) {}

void TextInputDialog::Ask(const char* caption, const char* initial) {
  caption_.Assign(caption);
  table_ = {{
      {kId, kWindowKind, 0x04, 10, 10, 220, 80, ""},
      {kCaptionId, kTitleBarKind, 0x04, 0, 0, 220, 20, caption_.c_str()},
      {kFieldId, kEditFieldKind, 0x04, 4, 22, 212, 17, ""},
      {kOkId, kButtonKind, 0x00, 20, 48, 72, 24, "OK"},
      {kCancelId, kButtonKind, 0x03, 124, 48, 72, 24, "Cancel"},
      {0, kResizeGripKind, 0x03, 208, 68, 12, 12, ""},
  }};
  window_.Open(table_.data(), static_cast<int>(table_.size()), caption_.c_str());
  Widget* field = window_.Root()->FindById(kFieldId);
  field->SetText(initial);
  // The field takes the focus with its text selected, now and when the
  // dialog is activated.
  field->RequestFocus();
  window_.Frame()->RememberFocus(field);
}

void TextInputDialog::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kOkId || code == key::kEnter) {
    const char* text = window_.Root()->FindById(kFieldId)->GetText();
    answer_ = text != nullptr ? text : "";
    window_.Hide();
    askedBy_.DialogCommand(kConfirmed, kId);
  } else if (code == kCancelId || code == key::kEscape || code == command::kClose) {
    window_.Hide();
  }
}
