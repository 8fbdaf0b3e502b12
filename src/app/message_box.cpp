#include "app/message_box.h"

#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/text_block.h"

namespace {

constexpr int kTextEntry = 2;

}  // namespace

MessageBoxWindow::MessageBoxWindow() : table_(), window_(*this) {}

void MessageBoxWindow::Show(const char* text) {
  text_ = text != nullptr ? text : "";
  table_ = {{
      {kId, kWindowKind, 0x00, 10, 10, 204, 84, ""},
      {0, kTitleBarKind, 0x04, 0, 0, 204, 20, "Message"},
      {kTextId, kLabelKind, 0x0C, 44, 24, 156, 20, text_.c_str()},
      {0, kPictureKind, 0x00, 4, 24, 32, 32, "warnbmp"},
      {kOkId, kButtonKind, 0x02, 64, 52, 76, 24, "OK"},
  }};
  FitLayoutToText(table_.data(), static_cast<int>(table_.size()), kTextEntry, Graphics().NormalFont().Metrics(),
                  text_.c_str());
  window_.Open(table_.data(), static_cast<int>(table_.size()), "Message");
}

void MessageBoxWindow::DialogCommand(unsigned code, std::uint16_t) {
  if (code == kOkId || code == key::kEnter || code == key::kEscape || code == command::kClose) window_.Hide();
}
