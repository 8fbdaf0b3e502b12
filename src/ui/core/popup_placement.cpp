#include "ui/core/popup_placement.h"

Point KeepOnScreen(Point at, int width, int height, int screenWidth, int screenHeight) {
  Point placed = at;
  if (placed.x > screenWidth - width) placed.x = screenWidth - width;
  if (placed.y > screenHeight - height) placed.y = screenHeight - height;
  if (placed.x < 0) placed.x = 0;
  if (placed.y < 0) placed.y = 0;
  return placed;
}

Rect HintPlacement(Point pointer, int textWidth, int lineHeight, int screenWidth, int screenHeight) {
  constexpr int kOffset = 20;
  int width = textWidth + 8;
  int height = lineHeight + 6;
  Point at = KeepOnScreen(Point{pointer.x + kOffset, pointer.y + kOffset}, width, height, screenWidth, screenHeight);
  return Rect{at.x, at.y, at.x + width, at.y + height};
}
