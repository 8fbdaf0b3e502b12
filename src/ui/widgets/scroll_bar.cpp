#include "ui/widgets/scroll_bar.h"

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/image.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "text/fixed_text.h"

namespace {

// The track between the thumb and the arrows; the skin's border and thumb
// end pieces carry this grey, so the pieces meet the track without a seam.
constexpr GdiColour kTrackColour = Rgb(206, 206, 210);
// The pictures are 13 pixels across, two pixels of face lie beside them.
constexpr int kPictureInset = 2;
constexpr int kPictureSize = 13;
// A thumb end piece is 3 pixels long, plus the track between it and the
// arrow when the thumb lies 1 or 2 pixels from it.
constexpr int kEndLength = 3;

struct Names {
  const char* back_arrow;     // up or left
  const char* forward_arrow;  // down or right
  const char* start;          // the thumb's first end: "top" or "left"
  const char* end;
  const char* grip;
};

const Names kVerticalNames{"uparrow", "downarrow", "top", "bottom", "vscrollgrip"};
const Names kHorizontalNames{"leftarrow", "rightarrow", "left", "right", "hscrollgrip"};

const Image& Piece(const char* prefix, const char* suffix) {
  FixedText<15> name(prefix);
  name.Append(suffix);
  return Skin().GetFacePicture(name.c_str());
}

// The colour of line `line` (0 to 12) across the thumb's body.
GdiColour ThumbLineColour(int line) {
  int c = 72 * line / (kPictureSize - 1);
  return Rgb(static_cast<std::uint8_t>(178 - c), static_cast<std::uint8_t>(178 - c),
             static_cast<std::uint8_t>(231 - c));
}

}  // namespace

ScrollBar::ScrollBar(const LayoutEntry& entry, Container* parent, Scrollable& view)
    : Widget(entry, parent), view_(view) {
  enabled_ = true;
  role_ = AccessibleRole::kScrollBar;
  visible_ = false;
}

ScrollBar::~ScrollBar() { StopPress(); }

ScrollBarGeometry ScrollBar::Geometry() const {
  return ScrollBarGeometry(Bounds(), Vertical() ? view_.VerticalAxis() : view_.HorizontalAxis());
}

int ScrollBar::BottomRepaintExtent(int height) const { return Vertical() ? height - kScrollArrowLength : 0; }
int ScrollBar::RightRepaintExtent(int width) const { return Vertical() ? 0 : width - kScrollArrowLength; }

Rect ScrollBar::ArrowArea(int part) const {
  int length = kScrollArrowLength;
  switch (part) {
    case kUpArrow:
    case kLeftArrow: return Rect{x_, y_, x_ + length, y_ + length};
    case kDownArrow: return Rect{x_, y_ + height_ - length, x_ + width_, y_ + height_};
    case kRightArrow: return Rect{x_ + width_ - length, y_, x_ + width_, y_ + height_};
    default: return Rect{};
  }
}

void ScrollBar::RepaintTrack() {
  int length = kScrollArrowLength;
  Invalidate(Vertical() ? Rect{x_, y_ + length, x_ + width_, y_ + height_ - length}
                        : Rect{x_ + length, y_, x_ + width_ - length, y_ + height_});
}

void ScrollBar::StopPress() {
  WidgetHost* host = Host();
  if (host != nullptr) host->StopRepeat(*this);
  int held = arrow_.Held();
  if (arrow_.ShowsPressed(held)) Invalidate(ArrowArea(held));
  arrow_.Release();
  dragging_ = false;
}

void ScrollBar::LeftDown(int x, int y) {
  ScrollBarGeometry geometry = Geometry();
  int part = geometry.PartAt(x, y);
  if (IsScrollArrow(part)) {
    arrow_.Press(part);
    Invalidate(ArrowArea(part));
    WidgetHost* host = Host();
    if (host != nullptr) host->StartRepeat(*this);
  } else if (IsScrollThumb(part)) {
    ScrollAxis axis = Vertical() ? view_.VerticalAxis() : view_.HorizontalAxis();
    dragging_ = true;
    drag_offset_ = axis.offset - geometry.OffsetForPointer(Vertical() ? y : x);
  }
}

void ScrollBar::MouseMove(int x, int y) {
  Widget::MouseMove(x, y);
  WidgetHost* host = Host();
  if (host == nullptr || host->PressedWidget() != this) return;
  ScrollBarGeometry geometry = Geometry();
  if (arrow_.Held() != kNoScrollPart) {
    if (arrow_.Follow(geometry.PartAt(x, y))) Invalidate(ArrowArea(arrow_.Held()));
  } else if (dragging_) {
    ScrollAxis axis = Vertical() ? view_.VerticalAxis() : view_.HorizontalAxis();
    int change = geometry.OffsetForPointer(Vertical() ? y : x) + drag_offset_ - axis.offset;
    if (change == 0) return;
    if (Vertical()) {
      view_.ScrollByY(change);
    } else {
      view_.ScrollByX(change);
    }
  }
}

void ScrollBar::LeftUp(int, int) { StopPress(); }

void ScrollBar::RepeatTick() {
  WidgetHost* host = Host();
  // The window lost the mouse without a release (a dialog came up).
  if (host == nullptr || host->PressedWidget() != this) {
    StopPress();
    return;
  }
  int held = arrow_.Held();
  if (arrow_.ShowsPressed(held)) view_.ScrollStep(held);
}

void ScrollBar::Paint(Canvas& canvas) {
  bool vertical = Vertical();
  const Names& names = vertical ? kVerticalNames : kHorizontalNames;
  int length = vertical ? height_ : width_;
  int arrow = kScrollArrowLength;
  // Places a picture at `along` on the bar, two pixels in from its side.
  auto place = [&](const Image& picture, int along) {
    if (vertical) {
      DrawImage(canvas, x_ + kPictureInset, y_ + along, picture);
    } else {
      DrawImage(canvas, x_ + along, y_ + kPictureInset, picture);
    }
  };
  // Fills [from, to) along the bar, across its full picture width.
  auto band = [&](int from, int to, int across_from, int across_to) {
    if (to <= from) return;
    if (vertical) {
      canvas.FillRect(x_ + across_from, y_ + from, x_ + across_to, y_ + to);
    } else {
      canvas.FillRect(x_ + from, y_ + across_from, x_ + to, y_ + across_to);
    }
  };

  canvas.SetBackColour(FaceColour);
  band(0, length, 0, kPictureInset);
  band(kPictureSize, arrow, kPictureInset, kScrollBarThickness);
  band(length - arrow, length - arrow + kPictureInset, kPictureInset, kScrollBarThickness);

  int held = arrow_.Held();
  bool back_pressed = arrow_.ShowsPressed(held) && (held == kUpArrow || held == kLeftArrow);
  bool forward_pressed = arrow_.ShowsPressed(held) && (held == kDownArrow || held == kRightArrow);
  place(Piece(names.back_arrow, back_pressed ? "down" : "up"), 0);
  place(Piece(names.forward_arrow, forward_pressed ? "down" : "up"), length - kPictureSize);

  int track_start = arrow;
  int track_end = length - arrow;
  if (track_end <= track_start) return;
  canvas.SetBackColour(kTrackColour);
  band(track_start, track_end, kPictureInset, kScrollBarThickness);

  ScrollBarGeometry geometry = Geometry();
  int origin = vertical ? y_ : x_;
  int thumb_start = geometry.ThumbStart() - origin;
  int thumb_end = thumb_start + geometry.ThumbLength();
  if (thumb_end - thumb_start < 2 * kEndLength) return;

  // The thumb's ends: a piece that includes the track up to the arrow when
  // the thumb is within 2 pixels of it, else the track's rounded end and
  // the thumb's end apart.
  static const char* const kNearEnds[] = {"reiter0", "reiter1", "reiter2"};
  int start_gap = thumb_start - track_start;
  if (start_gap < kEndLength) {
    place(Piece(names.start, kNearEnds[start_gap]), track_start);
  } else {
    place(Piece(names.start, "border"), track_start);
    place(Piece(names.start, "reiter3"), thumb_start);
  }
  int end_gap = track_end - thumb_end;
  if (end_gap < kEndLength) {
    place(Piece(names.end, kNearEnds[end_gap]), thumb_end - kEndLength);
  } else {
    place(Piece(names.end, "border"), track_end - kEndLength);
    place(Piece(names.end, "reiter3"), thumb_end - kEndLength);
  }

  // The body: a gradient across the bar, one line per pixel.
  for (int line = 0; line < kPictureSize; ++line) {
    canvas.SetBackColour(ThumbLineColour(line));
    band(thumb_start + kEndLength, thumb_end - kEndLength, kPictureInset + line, kPictureInset + line + 1);
  }
  const Image& grip = Skin().GetFacePicture(names.grip);
  int grip_length = static_cast<int>(vertical ? grip.Height() : grip.Width());
  if (thumb_end - thumb_start >= grip_length + 2 * kEndLength + 2) {
    place(grip, (thumb_start + thumb_end) / 2 - grip_length / 2);
  }
}
