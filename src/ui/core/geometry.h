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
