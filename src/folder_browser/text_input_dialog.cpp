#include "folder_browser/text_input_dialog.h"

#include "layouts/dialog_layouts.h"
#include "ui/core/key_codes.h"

using namespace text_input_id;

TextInputDialog::TextInputDialog(DialogHandler& asked_by) : asked_by_(asked_by), table_(), window_(*this) {}

void TextInputDialog::Ask(const char* caption, const char* initial) {
  caption_.Assign(caption);
  table_ = TextInputLayout(caption_.c_str());
  window_.Open(table_.data(), static_cast<int>(table_.size()), caption_.c_str());
  Widget* field = window_.Root()->FindById(kField);
  field->SetText(initial);
  // The field takes the focus with its text selected, now and when the
  // dialog is activated.
  field->RequestFocus();
  window_.Frame()->RememberFocus(field);
}

void TextInputDialog::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kOk || code == key::kEnter) {
    const char* text = window_.Root()->FindById(kField)->GetText();
    answer_ = text != nullptr ? text : "";
    window_.Hide();
    asked_by_.DialogCommand(kConfirmed, kId);
  } else if (code == kCancel || code == key::kEscape || code == command::kClose) {
    window_.Hide();
  }
}
