#include "ui/widgets/tool_bar_items.h"

void ToolBarLayout::Build(const ToolBarItem* table, const Rect& bar, const Measure& measure) {
  table_ = table;
  bar_ = bar;
  vertical_ = bar.Height() >= bar.Width();
  slots_.clear();
  int offset = vertical_ ? bar.top : bar.left;
  for (const ToolBarItem* item = table; item != nullptr && item->kind != kToolEnd; ++item) {
    int length =
        item->kind == kToolSeparator ? (vertical_ ? 16 : measure.SeparatorLength()) : measure.PictureLength(*item) + 8;
    slots_.push_back(ItemSlot{offset, length, false});
    offset += length;
  }
}

void ToolBarLayout::Relocate(const Rect& bar) {
  int shift = vertical_ ? bar.top - bar_.top : bar.left - bar_.left;
  for (ItemSlot& slot : slots_) slot.offset += shift;
  bar_ = bar;
}

bool ToolBarLayout::IsButton(int index) const {
  std::uint8_t kind = Item(index).kind;
  return kind == kToolPush || kind == kToolToggle || kind == kToolRadio;
}

int ToolBarLayout::UsedLength() const {
  int start = vertical_ ? bar_.top : bar_.left;
  return slots_.empty() ? 0 : slots_.back().offset + slots_.back().length - start;
}

Rect ToolBarLayout::ItemArea(int index) const {
  const ItemSlot& slot = Slot(index);
  return vertical_ ? Rect{bar_.left, slot.offset, bar_.right, slot.offset + slot.length}
                   : Rect{slot.offset, bar_.top, slot.offset + slot.length, bar_.bottom};
}

int ToolBarLayout::ItemAt(int px, int py) const {
  int along = vertical_ ? py : px;
  int across = vertical_ ? px : py;
  int across_start = vertical_ ? bar_.left : bar_.top;
  int across_end = vertical_ ? bar_.right : bar_.bottom;
  if (across < across_start || across >= across_end) return 0;
  for (int i = 1; i <= Count(); ++i) {
    const ItemSlot& slot = Slot(i);
    if (along >= slot.offset && along < slot.offset + slot.length) return i;
  }
  return 0;
}

ToolButtonLook ToolBarLayout::LookOf(int index, int hot, bool pressed) const {
  if (!IsButton(index)) return ToolButtonLook::kFlat;
  if (IsChecked(index) || (pressed && hot == index)) return ToolButtonLook::kSunken;
  return hot == index ? ToolButtonLook::kRaised : ToolButtonLook::kFlat;
}

ToolClick ToolBarLayout::Click(int index) {
  if (index < 1 || index > Count()) return {false, 0};
  const ToolBarItem& item = Item(index);
  switch (item.kind) {
    case kToolPush: return {true, item.command};
    case kToolToggle: SlotRef(index).checked = !IsChecked(index); return {true, item.command};
    case kToolRadio:
      if (IsChecked(index)) return {false, 0};
      for (int i = 1; i <= Count(); ++i) {
        if (Item(i).kind == kToolRadio) SlotRef(i).checked = false;
      }
      SlotRef(index).checked = true;
      return {true, item.command};
    default: return {false, 0};
  }
}
