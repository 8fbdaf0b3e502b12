// The widget: every control inside a window (label, button, scroll bar, title
// bar, view...). A widget has no window handle; it lives in its window's
// client coordinates, paints onto the window's canvas, and is owned by its
// parent container. Its record is the layout entry it was made from plus the
// visible, enabled and focusable flags.
//
// The virtual operations below are what the window routes to a widget
// (ui/widgets/widget_window.h) and what widgets ask of each other; a class
// overrides those it needs. Painting is the only operation that touches the
// platform; everything else runs and is tested without a screen.
//
// The keyboard focus and the widget under the mouse are process-wide
// (ui/widgets/widget_state.h). They always point to live, visible widgets:
// hiding, disabling and destroying a widget release them first.
#pragma once

#include <cstdint>

#include "text/fixed_text.h"
#include "ui/core/accessible_item.h"
#include "ui/core/geometry.h"
#include "ui/widgets/layout_entry.h"

class Canvas;
class Container;
class WidgetHost;

// The traversal state of TabStep.
enum class TabState : std::uint8_t {
  kSeekFocused,  // passing widgets before the focused one
  kTakeNext,     // the next eligible widget takes the focus
  kTaken,        // done
};

class Widget {
 public:
  // Fills the record from a layout entry. A widget starts visible, disabled
  // and not focusable; classes set their own defaults. An entry of kind 0
  // (the window itself) gives the position (0, 0).
  Widget(const LayoutEntry& entry, Container* parent);
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;
  // Forgets the widget as focused or hot widget.
  virtual ~Widget();

  std::uint8_t Kind() const { return kind_; }
  std::uint8_t LayoutFlags() const { return layout_flags_; }
  std::uint8_t AnchorCode() const { return layout_flags_ & 0x0F; }
  std::uint8_t ClassFlags() const { return layout_flags_ >> 4; }
  bool IsVisible() const { return visible_; }
  bool IsEnabled() const { return enabled_; }
  bool IsFocusable() const { return focusable_; }
  // Visible, enabled and focusable: a tab stop.
  bool CanTakeFocus() const { return visible_ && enabled_ && focusable_; }
  std::uint16_t Id() const { return id_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect Bounds() const { return Rect{x_, y_, x_ + width_, y_ + height_}; }

  Container* Parent() const { return parent_; }
  // The root container of the widget's tree (the widget itself for a root);
  // null for a lone widget.
  Container* Root();
  // This widget as a container, or null.
  virtual Container* AsContainer();
  // The window the tree lives in; null while it is in none.
  WidgetHost* Host();
  // True when `widget` is this widget or lies inside it.
  bool Holds(const Widget* widget) const;

  // --- Geometry -----------------------------------------------------------
  // Moves without repainting (containers move their children along).
  virtual void Shift(int dx, int dy);
  // Moves and repaints the old and the new place; nothing for (0, 0).
  virtual void MoveBy(int dx, int dy);
  // Changes the size by (dw, dh). With `rightward` the right edge moves,
  // otherwise the left edge (x decreases by dw); `downward` likewise for the
  // bottom and top. Repaints what changed.
  virtual void ResizeBy(int dw, int dh, bool downward, bool rightward);
  // How many pixels above the bottom (left of the right) edge must be
  // repainted when the height (width) changes: content that depends on the
  // size, such as a centred caption or a scroll bar's arrow.
  virtual int BottomRepaintExtent(int height) const;
  virtual int RightRepaintExtent(int width) const;
  // Follows the widget's anchor code after its container changed size by
  // (dx, dy); `downward` and `rightward` tell which edges moved.
  void AdjustForResize(int dx, int dy, bool downward, bool rightward);

  // --- Painting -------------------------------------------------------------
  virtual void Paint(Canvas& canvas);
  // Marks a rectangle for repainting when the widget is visible and its
  // window has a surface.
  virtual void Invalidate(const Rect& area);
  // Repaints what changed between two rectangles of the widget: both whole
  // when the top-left corner moved, else only the changed stripes.
  virtual void InvalidateChange(const Rect& before, const Rect& after);
  void InvalidateSelf() { Invalidate(Bounds()); }

  // --- State ---------------------------------------------------------------
  virtual void SetEnabled(bool enabled);
  // What a window asks for to let the user change a control or not; most
  // controls grey out (SetEnabled), an edit field turns read-only instead.
  virtual void Enable(bool enabled) { SetEnabled(enabled); }
  virtual void SetVisible(bool visible);
  // SetVisible(visible) when first id <= id <= last id; containers pass it on.
  virtual void ShowRange(std::uint16_t first_id, std::uint16_t last_id, bool visible);
  virtual void SetChecked(int state);
  virtual int GetValue() const;
  // The widget's text; null when it has none.
  virtual const char* GetText() const;
  virtual void SetText(const char* text);
  void SetTextUnsigned(std::uint32_t number);
  void SetTextNumber(std::int32_t number);

  // --- Lookup ----------------------------------------------------------------
  // The widget under a point (the left column and top row are outside), or
  // null; a container returns the child hit.
  virtual Widget* HitTest(int x, int y);
  virtual Widget* FindById(std::uint16_t id);

  // --- Focus ------------------------------------------------------------------
  virtual void GainFocus();
  virtual void LoseFocus();
  // The focused widget learns that a press landed on a widget that cannot
  // take the focus.
  virtual void FocusClickedAway();
  // Asks for the focus (widgets that can take it do).
  virtual void RequestFocus();
  // One step of a focus traversal; containers visit their children.
  virtual void TabStep(bool forward, TabState& state);
  virtual void WindowActivated(bool active);

  // --- Input ---------------------------------------------------------------------
  // A typed character; by default it goes to the root.
  virtual void KeyChar(unsigned char character);
  // A special key (ui/core/key_translation.h); by default it goes to the
  // parent's Notify with this widget's id.
  virtual void KeyCommand(unsigned key);
  virtual void KeyUp(unsigned key);
  virtual void LeftDown(int x, int y);
  virtual void LeftUp(int x, int y);
  // By default a double click is a press.
  virtual void LeftDoubleClick(int x, int y);
  // By default sets the arrow cursor.
  virtual void MouseMove(int x, int y);
  virtual void MouseWheel(bool up, int x, int y);
  virtual void RightDown(int x, int y);
  virtual void RightUp(int x, int y);
  virtual void MouseLeave();
  // A command travelling up the tree: `code` is what happened (a command id
  // or a key), `id` the control it came from. By default it goes to the
  // parent.
  virtual void Notify(unsigned code, std::uint16_t id);

  // --- Accessibility -------------------------------------------------------------
  // What a screen reader is told (ui/widgets/accessible_tree.h). A widget of
  // role kNone is left out; its children are not.
  AccessibleRole Role() const { return role_; }
  // Fills in the widget (part 0) or one of its parts: name, value, default
  // action and the states the class knows of (checked, read-only); the
  // tree adds the rest. By default the widget's text names it. A field
  // leaves its name empty for the label beside it.
  virtual void Describe(int part, AccessibleItem& item) const;
  // Parts that are no widgets of their own (a tool bar's buttons): readers
  // see them as children after the widget, numbered from 1.
  virtual int AccessiblePartCount() const { return 0; }
  // Does what a click on the widget (part 0) or the part does.
  virtual void DoDefaultAction(int) {}
  // Tells the window, which tells the readers.
  void RaiseAccessibleEvent(AccessibleEvent event);

 protected:
  std::uint8_t kind_;
  std::uint8_t layout_flags_;
  bool visible_ = true;
  bool enabled_ = false;
  bool focusable_ = false;
  AccessibleRole role_ = AccessibleRole::kNone;
  Container* parent_;
  std::uint16_t id_;
  int x_;
  int y_;
  int width_;
  int height_;
};
