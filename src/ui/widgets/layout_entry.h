// One entry of a window's layout table: the window itself (entry 0) or one of
// its widgets. Tables are static arrays of these, one per window of the
// program; the frame window builds windows from them (ui/widgets/layout_table.h).
#pragma once

#include <cstdint>

struct LayoutEntry {
  std::uint16_t id;    // control id; 0 for entries that send no commands
  std::uint8_t kind;   // a WidgetKind; 0 for the window itself
  std::uint8_t flags;  // low 4 bits the anchor code, high 4 bits class-specific
  std::int16_t x;      // client coordinates; the screen position for entry 0
  std::int16_t y;
  std::int16_t width;  // for entry 0 the client size
  std::int16_t height;
  const char* text;  // caption, label or picture name; "" when none
};

// The layout kinds the toolkit knows. Kinds not listed here build a plain
// widget that paints nothing.
enum WidgetKind : std::uint8_t {
  kWindowKind = 0,
  kLabelKind = 1,
  kPictureKind = 3,
  kRadioButtonKind = 4,
  kButtonKind = 5,
  kCheckBoxKind = 6,
  kEditFieldKind = 7,
  kTextViewKind = 9,
  kScrollBarKind = 13,
  kToolBarKind = 16,
  kTitleBarKind = 18,
};

// Anchor codes (low 4 bits of the flags): how a widget follows when its
// container changes size.
enum AnchorCode : std::uint8_t {
  kAnchorTopLeft = 0,
  kAnchorTopRight = 1,
  kAnchorBottomLeft = 2,
  kAnchorBottomRight = 3,
  kAnchorTopEdge = 4,     // full width along the top
  kAnchorBottomEdge = 6,  // full width along the bottom
  kAnchorLeftEdge = 8,    // full height along the left
  kAnchorRightEdge = 9,   // full height along the right
  kAnchorFill = 12,
};
