// The item table of a popup menu and everything about it that needs no
// screen: the size of the menu, which entry lies under the pointer, and the
// arrow-key walk that skips separators and disabled items.
//
// A table is a static array ended by an entry of kind kMenuEnd. Items are 20
// pixels high, separators 8. A text may hold a tab: the part before it is
// the label, the part after it a shortcut drawn right-aligned ("Select
// all\tCtrl+A").
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/font_metrics.h"

enum MenuItemKind : std::uint32_t {
  kMenuSeparator = 0,
  kMenuItem = 1,
  kMenuEnd = 3,
};

struct MenuItem {
  std::uint32_t kind;  // only the low byte counts
  const char* text;
  std::uint16_t command;     // sent to the menu's owner when chosen
  std::uint8_t disabled;     // drawn grey; cannot be chosen
  std::uint8_t checked;      // shows the check picture instead of its own
  const char* picture_name;  // skin picture, or null
};

inline constexpr int kMenuItemHeight = 20;
inline constexpr int kMenuSeparatorHeight = 8;
// The label starts here; the picture column lies left of it.
inline constexpr int kMenuTextLeft = 28;
// A menu is this much wider than its widest text.
inline constexpr int kMenuFrameWidth = 46;
// The shortcut ends this far before the right edge.
inline constexpr int kMenuShortcutRightGap = 10;

struct MenuText {
  const char* label;
  std::size_t label_length;
  const char* shortcut;  // null when the text has no tab
};
MenuText SplitMenuText(const char* text);

class MenuItems {
 public:
  explicit MenuItems(const MenuItem* table);

  int Count() const { return count_; }
  // Entry `index`, 1 to Count().
  const MenuItem& Entry(int index) const { return table_[index - 1]; }
  bool IsSeparator(int index) const;
  bool IsChoosable(int index) const;

  int Height() const;
  // 46 plus the widest text (label, a gap and the shortcut), at least 76
  // when there is a separator to draw.
  int Width(const FontMetrics& font) const;
  int EntryTop(int index) const;
  int EntryHeight(int index) const;

  // The entry under a y coordinate of the menu (0 above or below them all).
  int EntryAt(int y) const;
  // The hot item after the pointer moved to y: an enabled item becomes hot,
  // a separator or empty space clears it, a disabled item keeps the old one.
  int HotAfterPointer(int hot, int y) const;
  // Down (forward) or Up from `hot`: the next choosable item, wrapping
  // around; 0 when there is none.
  int NextChoosable(int hot, bool forward) const;

 private:
  const MenuItem* table_;
  int count_;
};
