#include "ui/widgets/menu_items.h"

#include <cstring>

namespace {

constexpr std::uint32_t KindOf(const MenuItem& item) { return item.kind & 0xFF; }

// Between a label and its shortcut.
constexpr int kShortcutGap = 24;
// A menu with a separator gives it at least this much room.
constexpr int kSeparatorMinWidth = 30;

}  // namespace

MenuText SplitMenuText(const char* text) {
  if (text == nullptr) return {"", 0, nullptr};
  const char* tab = std::strchr(text, '\t');
  if (tab == nullptr) return {text, std::strlen(text), nullptr};
  return {text, static_cast<std::size_t>(tab - text), tab + 1};
}

MenuItems::MenuItems(const MenuItem* table) : table_(table), count_(0) {
  // The count is a u16.
  while (table_ != nullptr && KindOf(table_[count_]) != kMenuEnd && count_ < 0xFFFF) ++count_;
}

bool MenuItems::IsSeparator(int index) const { return KindOf(Entry(index)) == kMenuSeparator; }

bool MenuItems::IsChoosable(int index) const { return KindOf(Entry(index)) == kMenuItem && Entry(index).disabled == 0; }

int MenuItems::EntryHeight(int index) const { return IsSeparator(index) ? kMenuSeparatorHeight : kMenuItemHeight; }

int MenuItems::EntryTop(int index) const {
  int top = 0;
  for (int i = 1; i < index; ++i) top += EntryHeight(i);
  return top;
}

int MenuItems::Height() const { return EntryTop(count_ + 1); }

int MenuItems::Width(const FontMetrics& font) const {
  int widest = 0;
  bool separator = false;
  for (int i = 1; i <= count_; ++i) {
    if (IsSeparator(i)) {
      separator = true;
      continue;
    }
    MenuText text = SplitMenuText(Entry(i).text);
    int width = TextWidth(font, text.label, text.label_length);
    if (text.shortcut != nullptr) width += kShortcutGap + TextWidth(font, text.shortcut, std::strlen(text.shortcut));
    if (width > widest) widest = width;
  }
  int menu_width = kMenuFrameWidth + widest;
  if (separator && menu_width < kMenuFrameWidth + kSeparatorMinWidth) menu_width = kMenuFrameWidth + kSeparatorMinWidth;
  return menu_width;
}

int MenuItems::EntryAt(int y) const {
  if (y < 0) return 0;
  int top = 0;
  for (int i = 1; i <= count_; ++i) {
    top += EntryHeight(i);
    if (y < top) return i;
  }
  return 0;
}

int MenuItems::HotAfterPointer(int hot, int y) const {
  int entry = EntryAt(y);
  if (entry == 0 || IsSeparator(entry)) return 0;
  return IsChoosable(entry) ? entry : hot;
}

int MenuItems::NextChoosable(int hot, bool forward) const {
  int index = hot;
  for (int step = 0; step < count_; ++step) {
    if (forward) {
      index = index >= count_ ? 1 : index + 1;
    } else {
      index = index <= 1 ? count_ : index - 1;
    }
    if (IsChoosable(index)) return index;
  }
  return 0;
}
