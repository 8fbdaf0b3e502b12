#include "app/message_box.h"

#include "graphics/graphics_resources.h"
#include "layouts/message_box_layout.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/text_block.h"

MessageBoxWindow::MessageBoxWindow() : table_(), window_(*this) {}

void MessageBoxWindow::Show(const char* text) {
  text_ = text != nullptr ? text : "";
  table_ = MessageBoxLayout(text_.c_str());
  FitLayoutToText(table_.data(), static_cast<int>(table_.size()), kMessageTextEntry, Graphics().NormalFont().Metrics(),
                  text_.c_str());
  window_.Open(table_.data(), static_cast<int>(table_.size()), "Message");
}

void MessageBoxWindow::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kOkId || code == key::kEnter || code == key::kEscape || code == command::kClose) window_.Hide();
}
