#include "ui/core/frame_geometry.h"

ResizeMode ResizeModeForAnchor(std::uint8_t anchorCode) {
  switch (anchorCode) {
    case 4: case 6: return ResizeMode::kHorizontal;
    case 8: case 9: return ResizeMode::kVertical;
    case 12: return ResizeMode::kBoth;
    default: return ResizeMode::kFixed;
  }
}

FramePart FramePartAt(ResizeMode mode, int border, int width, int height, int x, int y) {
  int edge = border + 2;
  int corner = border + 12;
  bool left = x < edge;
  bool right = x >= width - edge;
  bool top = y < edge;
  bool bottom = y >= height - edge;
  switch (mode) {
    case ResizeMode::kHorizontal:
      return left ? FramePart::kLeft : right ? FramePart::kRight : FramePart::kClient;
    case ResizeMode::kVertical:
      return top ? FramePart::kTop : bottom ? FramePart::kBottom : FramePart::kClient;
    case ResizeMode::kFixed:
      return FramePart::kClient;
    case ResizeMode::kBoth:
      break;
  }
  bool nearTop = y < corner;
  bool nearBottom = y >= height - corner;
  bool nearLeft = x < corner;
  bool nearRight = x >= width - corner;
  if (left) return nearTop ? FramePart::kTopLeft : nearBottom ? FramePart::kBottomLeft : FramePart::kLeft;
  if (right) return nearTop ? FramePart::kTopRight : nearBottom ? FramePart::kBottomRight : FramePart::kRight;
  if (top) return nearLeft ? FramePart::kTopLeft : nearRight ? FramePart::kTopRight : FramePart::kTop;
  if (bottom) return nearLeft ? FramePart::kBottomLeft : nearRight ? FramePart::kBottomRight : FramePart::kBottom;
  return FramePart::kClient;
}

CursorShape CursorForPart(FramePart part) {
  switch (part) {
    case FramePart::kLeft: case FramePart::kRight: return CursorShape::kResizeWe;
    case FramePart::kTop: case FramePart::kBottom: return CursorShape::kResizeNs;
    case FramePart::kTopLeft: case FramePart::kBottomRight: return CursorShape::kResizeNwse;
    case FramePart::kTopRight: case FramePart::kBottomLeft: return CursorShape::kResizeNesw;
    case FramePart::kClient: break;
  }
  return CursorShape::kArrow;
}

SizeLimits LimitsForMode(ResizeMode mode, int minWidth, int minHeight, int screenWidth, int screenHeight) {
  bool wide = mode == ResizeMode::kBoth || mode == ResizeMode::kHorizontal;
  bool tall = mode == ResizeMode::kBoth || mode == ResizeMode::kVertical;
  // A window made larger than the screen keeps its own size as the limit.
  int maxWidth = wide && screenWidth > minWidth ? screenWidth : minWidth;
  int maxHeight = tall && screenHeight > minHeight ? screenHeight : minHeight;
  return {minWidth, minHeight, maxWidth, maxHeight};
}

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

}  // namespace

FrameBox MoveResize(const FrameBox& frame, int dx, int dy, int dw, int dh, const SizeLimits& limits) {
  return {frame.x + dx, frame.y + dy, Clamp(frame.width + dw, limits.minWidth, limits.maxWidth),
          Clamp(frame.height + dh, limits.minHeight, limits.maxHeight)};
}

namespace {

struct AxisDrag {
  int position;
  int size;
  int applied;
};

// One axis of a dragged frame: the near edge (left or top) or the far one
// follows the mouse, the other stays, the size within its limits.
AxisDrag DragAxis(bool nearEdge, bool farEdge, int position, int size, int mouse, int low, int high) {
  if (!nearEdge && !farEdge) return {position, size, 0};
  int newSize = Clamp(size + (nearEdge ? -mouse : mouse), low, high);
  int change = newSize - size;
  return {nearEdge ? position - change : position, newSize, nearEdge ? -change : change};
}

}  // namespace

FrameDrag DragFrame(FramePart part, const FrameBox& frame, int mouseDx, int mouseDy, const SizeLimits& limits) {
  bool leftEdge = part == FramePart::kLeft || part == FramePart::kTopLeft || part == FramePart::kBottomLeft;
  bool rightEdge = part == FramePart::kRight || part == FramePart::kTopRight || part == FramePart::kBottomRight;
  bool topEdge = part == FramePart::kTop || part == FramePart::kTopLeft || part == FramePart::kTopRight;
  bool bottomEdge = part == FramePart::kBottom || part == FramePart::kBottomLeft || part == FramePart::kBottomRight;
  AxisDrag across = DragAxis(leftEdge, rightEdge, frame.x, frame.width, mouseDx, limits.minWidth, limits.maxWidth);
  AxisDrag down = DragAxis(topEdge, bottomEdge, frame.y, frame.height, mouseDy, limits.minHeight, limits.maxHeight);
  return {FrameBox{across.position, down.position, across.size, down.size}, across.applied, down.applied};
}
