// PopupMenu: a context menu. A small borderless popup window (one open at a
// time) that lists the items of a static table (menu_items.h) with the
// interface font and skin pictures, tracks the hot item with the mouse and
// the arrow keys, and sends the chosen item's command to the widget that
// owns the menu, as Notify(command, owner's id).
//
// A press anywhere outside the menu, or switching to another application,
// closes it (the window core sends it Escape).
#pragma once

#include <vector>

#include "graphics/image.h"
#include "ui/core/native_window.h"
#include "ui/widgets/accessible_object.h"
#include "ui/widgets/menu_items.h"

class Widget;

class PopupMenu : public NativeWindow, public AccessibleSource {
 public:
  PopupMenu(const MenuItem* table, Widget& owner);

  // Opens the menu at a point of the owner's window (client coordinates),
  // moved as far left and up as it takes to stay whole on the screen.
  // Nothing for a table without entries.
  void Open(int x, int y);
  void Close();
  bool IsOpen() const { return open_; }
  int Hot() const { return hot_; }
  const MenuItems& Items() const { return items_; }

  void Draw(Canvas& canvas) override;
  void MouseMove(int x, int y) override;
  void LeftUp(int x, int y) override;
  void MouseLeave() override;
  // Down, Up, Enter and Escape.
  void KeyDown(unsigned key) override;
  void Destroy() override;

  // AccessibleSource: the entries, in order; the hot item has the focus.
  int AccessibleCount() override { return items_.Count(); }
  AccessibleItem DescribeAccessible(int child) override;
  int AccessibleFocus() override { return open_ ? hot_ : -1; }
  int AccessibleAt(Point client) override;
  LRESULT AccessibleRequest(WPARAM flags, LPARAM object_id) override;
  // Only an open menu can be chosen from.
  void AccessibleAction(int child) override {
    if (open_) Choose(child);
  }

 private:
  void SetHot(int index);
  void RepaintEntry(int index);
  void Choose(int index);
  void DrawEntry(Canvas& canvas, int index);

  MenuItems items_;
  Widget& owner_;
  int hot_ = 0;
  bool open_ = false;
  std::vector<const Image*> pictures_;
  AccessibleObjectPtr accessible_;
};
