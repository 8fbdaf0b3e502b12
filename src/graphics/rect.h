// Rectangles in device or image coordinates (right and bottom exclusive), and
// the clipping of an image drawn into one. Platform-free, so the geometry of
// every blit is tested natively.
#pragma once

#include <algorithm>
#include <cstdint>

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return left >= right || top >= bottom; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

inline Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

// The visible part of an image of `width` x `height` placed at (x, y), and
// where that part starts in the image, counted as a bottom-up bitmap counts
// its rows (source y from the bottom row).
struct ImageBlit {
  Rect target;
  std::int32_t source_x = 0;
  std::int32_t source_y = 0;
};

// False when nothing of the image lies inside `clip`.
inline bool ClipImageBlit(const Rect& clip, std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height,
                          ImageBlit& out) {
  Rect placed{x, y, x + static_cast<std::int32_t>(width), y + static_cast<std::int32_t>(height)};
  out.target = Intersect(placed, clip);
  if (out.target.IsEmpty()) return false;
  out.source_x = out.target.left - x;
  out.source_y = static_cast<std::int32_t>(height) - out.target.bottom + y;
  return true;
}
