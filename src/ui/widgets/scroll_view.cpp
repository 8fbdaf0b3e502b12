#include "ui/widgets/scroll_view.h"

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "ui/core/widget_host.h"

namespace {

LayoutEntry BarEntry(const LayoutEntry& view, bool vertical) {
  LayoutEntry bar = view;
  bar.kind = kScrollBarKind;
  bar.text = "";
  if (vertical) {
    bar.id = static_cast<std::uint16_t>(view.id + 2);
    bar.flags = kAnchorRightEdge;
    bar.x = static_cast<std::int16_t>(view.x + view.width - kScrollBarThickness);
    bar.width = kScrollBarThickness;
  } else {
    bar.id = static_cast<std::uint16_t>(view.id + 1);
    bar.flags = kAnchorBottomEdge;
    bar.y = static_cast<std::int16_t>(view.y + view.height - kScrollBarThickness);
    bar.height = kScrollBarThickness;
  }
  return bar;
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

}  // namespace

ScrollView::ScrollView(const LayoutEntry& entry, Container* parent) : Container(entry, parent) {
  enabled_ = true;
  horizontal_ = static_cast<ScrollBar*>(Add(std::make_unique<ScrollBar>(BarEntry(entry, false), this, *this)));
  vertical_ = static_cast<ScrollBar*>(Add(std::make_unique<ScrollBar>(BarEntry(entry, true), this, *this)));
}

Rect ScrollView::ViewArea() const {
  int right = x_ + width_ - (vertical_->IsVisible() ? kScrollBarThickness : 0);
  int bottom = y_ + height_ - (horizontal_->IsVisible() ? kScrollBarThickness : 0);
  return Rect{x_, y_, right, bottom};
}

ScrollAxis ScrollView::HorizontalAxis() const { return {ViewArea().Width(), content_width_, scroll_x_}; }
ScrollAxis ScrollView::VerticalAxis() const { return {ViewArea().Height(), content_height_, scroll_y_}; }

void ScrollView::SetContentSize(int width, int height) {
  Rect before = ViewArea();
  ThumbPlaces thumbs = Thumbs();
  content_width_ = width;
  content_height_ = height;
  UpdateBars();
  // The content's own repaint is the subclass's: a growing log repaints
  // only its new line. A bar that came or went changes the whole view.
  if (!(ViewArea() == before))
    InvalidateSelf();
  else
    RepaintMovedThumbs(thumbs);
}

ScrollView::ThumbPlaces ScrollView::Thumbs() const {
  ScrollBarGeometry across = horizontal_->Geometry();
  ScrollBarGeometry down = vertical_->Geometry();
  return ThumbPlaces{across.ThumbStart(), across.ThumbLength(), down.ThumbStart(), down.ThumbLength()};
}

void ScrollView::RepaintMovedThumbs(const ThumbPlaces& before) {
  ThumbPlaces now = Thumbs();
  // A track already waiting for its paint needs no second request.
  WidgetHost* host = Host();
  bool requests = host != nullptr && host->HasSurface();
  if ((now.across_start != before.across_start || now.across_length != before.across_length) && !across_pending_) {
    horizontal_->RepaintTrack();
    across_pending_ = requests && horizontal_->IsVisible();
  }
  if ((now.down_start != before.down_start || now.down_length != before.down_length) && !down_pending_) {
    vertical_->RepaintTrack();
    down_pending_ = requests && vertical_->IsVisible();
  }
}

void ScrollView::UpdateBars() {
  int thickness = kScrollBarThickness;
  bool wide = content_width_ > width_;
  bool tall = content_height_ > height_;
  // One bar takes room from the other axis and may make it need its bar.
  if (tall && !wide) wide = content_width_ > width_ - thickness;
  if (wide && !tall) tall = content_height_ > height_ - thickness;

  Rect across{x_, y_ + height_ - thickness, x_ + width_ - (tall ? thickness : 0), y_ + height_};
  Rect down{x_ + width_ - thickness, y_, x_ + width_, y_ + height_ - (wide ? thickness : 0)};
  for (auto [bar, place] : {std::pair{horizontal_, across}, std::pair{vertical_, down}}) {
    Rect now = bar->Bounds();
    bar->MoveBy(place.left - now.left, place.top - now.top);
    bar->ResizeBy(place.Width() - now.Width(), place.Height() - now.Height(), true, true);
  }
  horizontal_->SetVisible(wide);
  vertical_->SetVisible(tall);
  ScrollTo(scroll_x_, scroll_y_);
}

void ScrollView::ScrollTo(int x, int y) {
  Rect area = ViewArea();
  int max_x = content_width_ - area.Width();
  int max_y = content_height_ - area.Height();
  x = Clamp(x, 0, max_x > 0 ? max_x : 0);
  y = Clamp(y, 0, max_y > 0 ? max_y : 0);
  if (x == scroll_x_ && y == scroll_y_) return;
  ThumbPlaces thumbs = Thumbs();
  int dx = scroll_x_ - x;
  int dy = scroll_y_ - y;
  scroll_x_ = x;
  scroll_y_ = y;
  RepaintMovedThumbs(thumbs);
  // What stays in view moves with its pixels and only what comes into view
  // is painted, once per paint; later scrolls repaint the whole view, and so
  // does a jump that keeps nothing in view (Wine would move rows from beside
  // the view into it).
  if (CanMovePixels() && dx < area.Width() && -dx < area.Width() && dy < area.Height() && -dy < area.Height()) {
    Host()->ScrollArea(area, dx, dy);
    moved_since_paint_ = true;
  } else {
    Invalidate(area);
  }
  ScrollChanged();
}

bool ScrollView::CanMovePixels() {
  WidgetHost* host = Host();
  return visible_ && host != nullptr && host->HasSurface() && !moved_since_paint_ && pending_whole_.IsEmpty();
}

void ScrollView::Invalidate(const Rect& area) {
  if (!pending_whole_.IsEmpty() && Intersect(area, pending_whole_) == area) return;
  Container::Invalidate(area);
  Rect view = ViewArea();
  WidgetHost* host = Host();
  if (visible_ && host != nullptr && host->HasSurface() && Intersect(area, view) == view) pending_whole_ = view;
}

void ScrollView::SetVisible(bool visible) {
  pending_whole_ = Rect{};
  across_pending_ = down_pending_ = false;
  Container::SetVisible(visible);
}

void ScrollView::ScrollStep(int part) {
  Rect area = ViewArea();
  switch (part) {
    case kUpArrow: ScrollByY(-LineStep()); break;
    case kDownArrow: ScrollByY(LineStep()); break;
    case kPageUp: ScrollByY(-area.Height()); break;
    case kPageDown: ScrollByY(area.Height()); break;
    case kLeftArrow: ScrollByX(-LineStep()); break;
    case kRightArrow: ScrollByX(LineStep()); break;
    case kPageLeft: ScrollByX(-area.Width()); break;
    case kPageRight: ScrollByX(area.Width()); break;
    default: break;
  }
}

void ScrollView::Paint(Canvas& canvas) {
  pending_whole_ = Rect{};
  moved_since_paint_ = false;
  across_pending_ = down_pending_ = false;
  Rect area = ViewArea();
  Rect saved = canvas.Clip();
  Rect clip = Intersect(saved, area);
  if (!clip.IsEmpty()) {
    canvas.SetClip(clip);
    PaintContent(canvas, area);
    canvas.SetClip(saved);
  }
  Container::Paint(canvas);
  if (horizontal_->IsVisible() && vertical_->IsVisible()) {
    canvas.SetBackColour(FaceColour);
    canvas.FillRect(area.right, area.bottom, x_ + width_, y_ + height_);
  }
}

void ScrollView::PaintContent(Canvas& canvas, const Rect& area) {
  canvas.SetBackColour(WhiteColour);
  canvas.FillRect(area.left, area.top, area.right, area.bottom);
}

void ScrollView::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  Container::ResizeBy(dw, dh, downward, rightward);
  UpdateBars();
}

Widget* ScrollView::HitTest(int x, int y) {
  Widget* bar = Container::HitTest(x, y);
  return bar != nullptr ? bar : Widget::HitTest(x, y);
}

void ScrollView::MouseWheel(bool up, int, int) { ScrollByY(up ? -3 * LineStep() : 3 * LineStep()); }
