// The geometry of a scroll bar: its arrows, track and thumb, the part under
// a point, and the mapping from a pointer position to a scroll offset that
// lets the thumb follow a drag.
//
// A bar 15 pixels wide is vertical, any other horizontal. Along the bar lie
// a 15-pixel arrow at each end and the track between them; the thumb's
// length is its share of the track as the view's share of the content, at
// least 20 pixels.
#pragma once

#include "graphics/rect.h"

enum ScrollPart : int {
  kNoScrollPart = 0,
  kUpArrow = 1,
  kPageUp = 2,
  kVerticalThumb = 3,
  kPageDown = 4,
  kDownArrow = 5,
  kLeftArrow = 6,
  kPageLeft = 7,
  kHorizontalThumb = 8,
  kPageRight = 9,
  kRightArrow = 10,
};

inline constexpr int kScrollBarThickness = 15;
inline constexpr int kScrollArrowLength = 15;
inline constexpr int kMinThumbLength = 20;

bool IsScrollArrow(int part);
bool IsScrollThumb(int part);

// One axis of a scrolled view: what is shown, what there is, and where the
// shown part starts.
struct ScrollAxis {
  int view_size;
  int content_size;
  int offset;
};

// The rounded a × b / c of Win32's MulDiv; -1 when c is 0.
int MulDivRounded(int a, int b, int c);

class ScrollBarGeometry {
 public:
  ScrollBarGeometry(const Rect& bar, const ScrollAxis& axis);

  bool Vertical() const { return vertical_; }
  // The bar's first and last coordinate along its length (exclusive end).
  int Start() const { return start_; }
  int End() const { return end_; }
  // Between the two arrows; never negative.
  int TrackLength() const;
  int ThumbLength() const;
  // The thumb's first coordinate along the bar.
  int ThumbStart() const;

  // The part under (px, py); none off the bar.
  ScrollPart PartAt(int px, int py) const;

  // The scroll offset that a pointer coordinate along the bar stands for.
  // Only differences matter: a drag scrolls by the change of this value, so
  // the thumb moves exactly as far as the pointer.
  int OffsetForPointer(int p) const;

 private:
  Rect bar_;
  ScrollAxis axis_;
  bool vertical_;
  int start_;
  int end_;
};
