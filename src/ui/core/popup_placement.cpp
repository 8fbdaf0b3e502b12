#include "ui/core/popup_placement.h"

Point KeepOnScreen(Point at, int width, int height, const Rect& screen) {
  Point placed = at;
  if (placed.x > screen.right - width) placed.x = screen.right - width;
  if (placed.y > screen.bottom - height) placed.y = screen.bottom - height;
  if (placed.x < screen.left) placed.x = screen.left;
  if (placed.y < screen.top) placed.y = screen.top;
  return placed;
}

Rect HintPlacement(Point pointer, int text_width, int line_height, const Rect& screen) {
  constexpr int kOffset = 20;
  int width = text_width + 8;
  int height = line_height + 6;
  Point at = KeepOnScreen(Point{pointer.x + kOffset, pointer.y + kOffset}, width, height, screen);
  return Rect{at.x, at.y, at.x + width, at.y + height};
}
