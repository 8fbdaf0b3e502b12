// ScrollView: a widget that shows part of a larger content and carries the
// two scroll bars for it. A bar is shown only while the content does not
// fit along its axis; with both shown, each stops short of the other and
// the corner between them is face grey. Subclasses paint the content
// (PaintContent, in content coordinates moved by the scroll offsets) and
// may choose their own step sizes.
#pragma once

#include "ui/widgets/container.h"
#include "ui/widgets/scroll_bar.h"
#include "ui/widgets/scrollable.h"

class ScrollView : public Container, public Scrollable {
 public:
  // The bars get the ids entry id + 1 (horizontal) and + 2 (vertical).
  ScrollView(const LayoutEntry& entry, Container* parent);

  // Repaints the bars as they change; the content is the subclass's to
  // repaint, unless a bar came or went.
  void SetContentSize(int width, int height);
  int ContentWidth() const { return content_width_; }
  int ContentHeight() const { return content_height_; }
  int ScrollX() const { return scroll_x_; }
  int ScrollY() const { return scroll_y_; }
  // Scrolls to the offsets, kept within the content, and repaints.
  void ScrollTo(int x, int y);
  // The part of the widget that shows content: without the bars.
  Rect ViewArea() const;
  ScrollBar& HorizontalBar() { return *horizontal_; }
  ScrollBar& VerticalBar() { return *vertical_; }

  // Scrollable
  ScrollAxis HorizontalAxis() const override;
  ScrollAxis VerticalAxis() const override;
  // Arrows move by LineStep, page areas by the view's size.
  void ScrollStep(int part) override;
  void ScrollByX(int dx) override { ScrollTo(scroll_x_ + dx, scroll_y_); }
  void ScrollByY(int dy) override { ScrollTo(scroll_x_, scroll_y_ + dy); }

  void Paint(Canvas& canvas) override;
  // Marks a rectangle for repainting; nothing when it lies in a view area
  // already waiting to be painted whole (a burst of lines into a log costs
  // one repaint request, not one per line).
  void Invalidate(const Rect& area) override;
  void SetVisible(bool visible) override;
  void ResizeBy(int dw, int dh, bool downward, bool rightward) override;
  Widget* HitTest(int x, int y) override;
  void MouseWheel(bool up, int x, int y) override;

 protected:
  // Paints the content; `area` is the view area on the window, and content
  // point (cx, cy) lies at (area.left + cx - ScrollX(), area.top + cy - ScrollY()).
  virtual void PaintContent(Canvas& canvas, const Rect& area);
  virtual int LineStep() const { return 16; }
  // The offsets changed; what stayed in view was moved on the screen and
  // the rest marked for repainting.
  virtual void ScrollChanged() {}

 private:
  // Shows the bars the content needs and fits their lengths.
  void UpdateBars();
  // Where the thumbs lie, to repaint a bar only when its thumb moved.
  struct ThumbPlaces {
    int across_start, across_length, down_start, down_length;
  };
  ThumbPlaces Thumbs() const;
  void RepaintMovedThumbs(const ThumbPlaces& before);
  bool CanMovePixels();

  ScrollBar* horizontal_;
  ScrollBar* vertical_;
  int content_width_ = 0;
  int content_height_ = 0;
  int scroll_x_ = 0;
  int scroll_y_ = 0;
  // The view area as it was asked to be repainted whole, until the next paint.
  Rect pending_whole_;
  // The pixels were moved since the last paint: a second scroll before the
  // next paint repaints the view instead (moving costs a round trip to the
  // window system each time).
  bool moved_since_paint_ = false;
  // A bar's track was asked to repaint and has not been painted since.
  bool across_pending_ = false;
  bool down_pending_ = false;
};
