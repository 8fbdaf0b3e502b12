#include "layouts/message_box_layout.h"

std::array<LayoutEntry, 5> MessageBoxLayout(const char* text) {
  using namespace message_box_id;
  return {{
      {kWindow, kWindowKind, kAnchorTopLeft, 10, 10, 204, 84, ""},
      {0, kTitleBarKind, kAnchorTopEdge, 0, 0, 204, 20, "Message"},
      {kText, kLabelKind, kAnchorFill, 44, 24, 156, 20, text},
      {0, kPictureKind, kAnchorTopLeft, 4, 24, 32, 32, "warnbmp"},
      {kOk, kButtonKind, kAnchorBottomLeft, 64, 52, 76, 24, "OK"},
  }};
}
