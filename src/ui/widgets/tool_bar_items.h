// The item table of a tool bar and its behaviour without a screen: laying
// the items out along the bar, finding the item under a point, the look of
// each button, and what a click does to push, toggle and radio buttons.
//
// A table is a static array ended by an entry of kind kToolEnd. The bar is
// vertical when it is at least as high as it is wide. A button is its
// picture plus 8 pixels long (4 on each side); a separator is 16 pixels long
// on a vertical bar and as wide as the separator picture on a horizontal one.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/rect.h"

enum ToolItemKind : std::uint8_t {
  kToolPush = 0,
  kToolToggle = 1,
  kToolRadio = 2,
  kToolSeparator = 3,
  kToolEnd = 4,
};

struct ToolBarItem {
  std::uint16_t command;     // sent to the owner when the button is clicked
  const char* tip;           // shown in the hint while the mouse rests on it
  const char* picture_name;  // skin picture
  std::uint8_t kind;
};

enum class ToolButtonLook : std::uint8_t {
  kFlat,    // the picture on the face colour
  kRaised,  // under the mouse
  kSunken,  // pressed under the mouse, or checked
};

struct ToolClick {
  bool sends;
  std::uint16_t command;
};

class ToolBarLayout {
 public:
  // The picture's extent along the bar, for each button.
  struct Measure {
    virtual int PictureLength(const ToolBarItem& item) const = 0;
    virtual int SeparatorLength() const = 0;

   protected:
    ~Measure() = default;
  };

  // Lays the items out for a bar of `bar`'s size.
  void Build(const ToolBarItem* table, const Rect& bar, const Measure& measure);
  // The bar moved or changed size: the items keep their places along it,
  // counted from its start, and their checked states.
  void Relocate(const Rect& bar);

  bool Vertical() const { return vertical_; }
  int Count() const { return static_cast<int>(slots_.size()); }
  // Item `index`, 1 to Count().
  const ToolBarItem& Item(int index) const { return table_[index - 1]; }
  bool IsButton(int index) const;
  int Offset(int index) const { return Slot(index).offset; }
  int Length(int index) const { return Slot(index).length; }
  bool IsChecked(int index) const { return Slot(index).checked; }
  void SetChecked(int index, bool checked) { SlotRef(index).checked = checked; }
  // The end of the last item along the bar.
  int UsedLength() const;
  // Item `index` on the screen.
  Rect ItemArea(int index) const;

  // The item whose span contains the point, if the point lies within the
  // bar across it; 0 when none.
  int ItemAt(int px, int py) const;
  ToolButtonLook LookOf(int index, int hot, bool pressed) const;
  // The mouse button went up over item `index`: a push button sends its
  // command; a toggle flips and sends; an unchecked radio button checks
  // itself, clears the others and sends; a checked one and a separator do
  // nothing.
  ToolClick Click(int index);

 private:
  struct ItemSlot {
    int offset;
    int length;
    bool checked;
  };
  const ItemSlot& Slot(int index) const { return slots_[static_cast<std::size_t>(index - 1)]; }
  ItemSlot& SlotRef(int index) { return slots_[static_cast<std::size_t>(index - 1)]; }

  const ToolBarItem* table_ = nullptr;
  Rect bar_;
  bool vertical_ = false;
  std::vector<ItemSlot> slots_;
};
