// ToolBar (layout kind 16): a row or column of picture buttons with
// separators, built from a static item table (tool_bar_items.h). The button
// under the mouse is raised and shows its tip in the hint window; a pressed
// or checked button is sunken. A click sends the button's command to the
// owner (the parent unless one is set) as Notify(command, the bar's id).
#pragma once

#include <vector>

#include "graphics/image.h"
#include "ui/widgets/tool_bar_items.h"
#include "ui/widgets/widget.h"

class ToolBar : public Widget {
 public:
  // The entry's text, when not empty, is the item table (see TableText).
  ToolBar(const LayoutEntry& entry, Container* parent);

  // The item table as a layout entry's text.
  static const char* TableText(const ToolBarItem* items) { return reinterpret_cast<const char*>(items); }

  // Lays the items out; their pictures come from the skin archive now.
  void SetItems(const ToolBarItem* items);
  void SetOwner(Widget* owner) { owner_ = owner; }
  const ToolBarLayout& Layout() const { return layout_; }
  int Hot() const { return hot_; }
  bool IsPressed() const { return pressed_; }

  void Shift(int dx, int dy) override;
  void ResizeBy(int dw, int dh, bool downward, bool rightward) override;
  void Paint(Canvas& canvas) override;
  // Its buttons, named by their tips, and separators are its parts.
  int AccessiblePartCount() const override { return layout_.Count(); }
  void Describe(int part, AccessibleItem& item) const override;
  void DoDefaultAction(int part) override { Click(part); }
  void MouseMove(int x, int y) override;
  void LeftDown(int x, int y) override;
  void LeftUp(int x, int y) override;
  void MouseLeave() override;

 private:
  struct Pictures {
    const Image* on_face;     // the flat look
    const Image* with_alpha;  // blended onto the raised and sunken looks
  };

  // A click on item `index` (0: none) takes effect.
  void Click(int item);
  void RepaintItem(int index);
  void PaintButton(Canvas& canvas, int index);
  void PaintSeparator(Canvas& canvas, int index);

  ToolBarLayout layout_;
  std::vector<Pictures> pictures_;
  Widget* owner_ = nullptr;
  int hot_ = 0;
  bool pressed_ = false;
};
