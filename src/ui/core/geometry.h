// Points and the point-in-rectangle test of the toolkit; rectangles are the
// graphics layer's (right and bottom exclusive, as in GDI).
#pragma once

#include "graphics/rect.h"

struct Point {
  int x = 0;
  int y = 0;
};

inline bool Contains(const Rect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// The point moved onto the nearest pixel inside a non-empty rectangle.
inline Point KeptInside(const Rect& rect, Point point) {
  if (point.x < rect.left) point.x = rect.left;
  if (point.x >= rect.right) point.x = rect.right - 1;
  if (point.y < rect.top) point.y = rect.top;
  if (point.y >= rect.bottom) point.y = rect.bottom - 1;
  return point;
}
