#include "ui/widgets/scroll_bar_geometry.h"

#include <cstdint>

bool IsScrollArrow(int part) {
  return part == kUpArrow || part == kDownArrow || part == kLeftArrow || part == kRightArrow;
}

bool IsScrollThumb(int part) { return part == kVerticalThumb || part == kHorizontalThumb; }

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = std::int64_t{a} * b;
  // Unsigned magnitudes: the 32-bit program then carries one 64-bit division
  // routine, not two.
  bool negative = (product < 0) != (c < 0);
  std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  std::uint64_t divisor = c < 0 ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
  // Halves round away from zero.
  auto result = static_cast<std::int64_t>((magnitude + divisor / 2) / divisor);
  return static_cast<int>(negative ? -result : result);
}

ScrollBarGeometry::ScrollBarGeometry(const Rect& bar, const ScrollAxis& axis)
    : bar_(bar),
      axis_(axis),
      vertical_(bar.Width() == kScrollBarThickness),
      start_(vertical_ ? bar.top : bar.left),
      end_(vertical_ ? bar.bottom : bar.right) {}

int ScrollBarGeometry::TrackLength() const {
  int track = end_ - start_ - 2 * kScrollArrowLength;
  return track > 0 ? track : 0;
}

int ScrollBarGeometry::ThumbLength() const {
  int track = TrackLength();
  // Content that fits the view: the thumb fills the track.
  if (axis_.content_size <= axis_.view_size) return track;
  int length = MulDivRounded(track, axis_.view_size, axis_.content_size);
  if (length < kMinThumbLength) length = kMinThumbLength;
  return length < track ? length : track;
}

int ScrollBarGeometry::ThumbStart() const {
  int first = start_ + kScrollArrowLength;
  int range = axis_.content_size - axis_.view_size;
  if (range <= 0) return first;
  int travel = TrackLength() - ThumbLength();
  int offset = axis_.offset < 0 ? 0 : axis_.offset > range ? range : axis_.offset;
  return first + MulDivRounded(offset, travel, range);
}

ScrollPart ScrollBarGeometry::PartAt(int px, int py) const {
  int along = vertical_ ? py : px;
  int across = vertical_ ? px : py;
  int across_start = vertical_ ? bar_.left : bar_.top;
  int across_end = vertical_ ? bar_.right : bar_.bottom;
  if (across < across_start || across >= across_end || along < start_ || along >= end_) return kNoScrollPart;
  int part;  // as on a vertical bar
  int thumb = ThumbStart();
  if (along < start_ + kScrollArrowLength) {
    part = kUpArrow;
  } else if (along >= end_ - kScrollArrowLength) {
    part = kDownArrow;
  } else if (along < thumb) {
    part = kPageUp;
  } else if (along < thumb + ThumbLength()) {
    part = kVerticalThumb;
  } else {
    part = kPageDown;
  }
  return static_cast<ScrollPart>(vertical_ ? part : part + 5);
}

int ScrollBarGeometry::OffsetForPointer(int p) const {
  int travel = TrackLength() - ThumbLength();
  int range = axis_.content_size - axis_.view_size;
  if (travel <= 0 || range <= 0) return 0;
  return MulDivRounded(p - start_ - kScrollArrowLength, range, travel);
}
