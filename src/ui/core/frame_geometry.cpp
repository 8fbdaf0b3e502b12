#include "ui/core/frame_geometry.h"

ResizeMode ResizeModeForAnchor(std::uint8_t anchor_code) {
  switch (anchor_code) {
    case 4:
    case 6: return ResizeMode::kHorizontal;
    case 8:
    case 9: return ResizeMode::kVertical;
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
    case ResizeMode::kHorizontal: return left ? FramePart::kLeft : right ? FramePart::kRight : FramePart::kClient;
    case ResizeMode::kVertical: return top ? FramePart::kTop : bottom ? FramePart::kBottom : FramePart::kClient;
    case ResizeMode::kFixed: return FramePart::kClient;
    case ResizeMode::kBoth: break;
  }
  bool near_top = y < corner;
  bool near_bottom = y >= height - corner;
  bool near_left = x < corner;
  bool near_right = x >= width - corner;
  if (left) return near_top ? FramePart::kTopLeft : near_bottom ? FramePart::kBottomLeft : FramePart::kLeft;
  if (right) return near_top ? FramePart::kTopRight : near_bottom ? FramePart::kBottomRight : FramePart::kRight;
  if (top) return near_left ? FramePart::kTopLeft : near_right ? FramePart::kTopRight : FramePart::kTop;
  if (bottom) return near_left ? FramePart::kBottomLeft : near_right ? FramePart::kBottomRight : FramePart::kBottom;
  return FramePart::kClient;
}

CursorShape CursorForPart(FramePart part) {
  switch (part) {
    case FramePart::kLeft:
    case FramePart::kRight: return CursorShape::kResizeWe;
    case FramePart::kTop:
    case FramePart::kBottom: return CursorShape::kResizeNs;
    case FramePart::kTopLeft:
    case FramePart::kBottomRight: return CursorShape::kResizeNwse;
    case FramePart::kTopRight:
    case FramePart::kBottomLeft: return CursorShape::kResizeNesw;
    case FramePart::kClient: break;
  }
  return CursorShape::kArrow;
}

SizeLimits LimitsForMode(ResizeMode mode, int min_width, int min_height, int screen_width, int screen_height) {
  bool wide = mode == ResizeMode::kBoth || mode == ResizeMode::kHorizontal;
  bool tall = mode == ResizeMode::kBoth || mode == ResizeMode::kVertical;
  // A window made larger than the screen keeps its own size as the limit.
  int max_width = wide && screen_width > min_width ? screen_width : min_width;
  int max_height = tall && screen_height > min_height ? screen_height : min_height;
  return {min_width, min_height, max_width, max_height};
}

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

}  // namespace

FrameBox MoveResize(const FrameBox& frame, int dx, int dy, int dw, int dh, const SizeLimits& limits) {
  return {frame.x + dx, frame.y + dy, Clamp(frame.width + dw, limits.min_width, limits.max_width),
          Clamp(frame.height + dh, limits.min_height, limits.max_height)};
}

namespace {

struct AxisDrag {
  int position;
  int size;
  int applied;
};

// One axis of a dragged frame: the near edge (left or top) or the far one
// follows the mouse, the other stays, the size within its limits.
AxisDrag DragAxis(bool near_edge, bool far_edge, int position, int size, int mouse, int low, int high) {
  if (!near_edge && !far_edge) return {position, size, 0};
  int new_size = Clamp(size + (near_edge ? -mouse : mouse), low, high);
  int change = new_size - size;
  return {near_edge ? position - change : position, new_size, near_edge ? -change : change};
}

}  // namespace

FrameDrag DragFrame(FramePart part, const FrameBox& frame, int mouse_dx, int mouse_dy, const SizeLimits& limits) {
  bool left_edge = part == FramePart::kLeft || part == FramePart::kTopLeft || part == FramePart::kBottomLeft;
  bool right_edge = part == FramePart::kRight || part == FramePart::kTopRight || part == FramePart::kBottomRight;
  bool top_edge = part == FramePart::kTop || part == FramePart::kTopLeft || part == FramePart::kTopRight;
  bool bottom_edge = part == FramePart::kBottom || part == FramePart::kBottomLeft || part == FramePart::kBottomRight;
  AxisDrag across = DragAxis(left_edge, right_edge, frame.x, frame.width, mouse_dx, limits.min_width, limits.max_width);
  AxisDrag down =
      DragAxis(top_edge, bottom_edge, frame.y, frame.height, mouse_dy, limits.min_height, limits.max_height);
  return {FrameBox{across.position, down.position, across.size, down.size}, across.applied, down.applied};
}
