// ScrollBar (layout kind 13): one of the two bars of a scrollable view,
// drawn from the skin's arrow, border and thumb pictures. A bar 15 pixels
// wide is vertical. Holding an arrow scrolls one step after 500 ms and then
// every 50 ms; dragging the thumb scrolls so that the thumb follows the
// pointer; a press on the track beside the thumb does nothing.
#pragma once

#include "ui/core/widget_host.h"
#include "ui/widgets/behaviour/press_tracker.h"
#include "ui/widgets/scroll_bar_geometry.h"
#include "ui/widgets/scrollable.h"
#include "ui/widgets/widget.h"

class ScrollBar : public Widget, public RepeatTarget {
 public:
  // Hidden, enabled and not focusable; the view shows it when needed.
  ScrollBar(const LayoutEntry& entry, Container* parent, Scrollable& view);
  ~ScrollBar() override;

  bool Vertical() const { return width_ == kScrollBarThickness; }
  ScrollBarGeometry Geometry() const;

  void Paint(Canvas& canvas) override;
  void LeftDown(int x, int y) override;
  void MouseMove(int x, int y) override;
  void LeftUp(int x, int y) override;
  void RepeatTick() override;
  // The arrow at the far end keeps its place relative to the moving edge.
  int BottomRepaintExtent(int height) const override;
  int RightRepaintExtent(int width) const override;

  // The track after a scroll (the arrows stay as they are).
  void RepaintTrack();
  // The arrow held down (0 none) and whether it shows pressed.
  int HeldArrow() const { return arrow_.Held(); }
  bool ShowsPressed(int part) const { return arrow_.ShowsPressed(part); }
  bool DraggingThumb() const { return dragging_; }

 private:
  Rect ArrowArea(int part) const;
  void StopPress();

  Scrollable& view_;
  PressTracker arrow_;
  bool dragging_ = false;
  int drag_offset_ = 0;
};
