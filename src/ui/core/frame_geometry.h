// The geometry of a window's frame: which part of the frame lies under the
// mouse, the size limits of each resize mode, and how the frame follows the
// keys and a dragged edge. The toolkit draws no system frame; a framed window
// is resized by the few pixels along its edge.
#pragma once

#include <cstdint>

#include "ui/core/widget_host.h"

enum class ResizeMode : std::uint8_t {
  kBoth = 0,
  kHorizontal = 1,
  kVertical = 2,
  kFixed = 3,
};

// A window's resize mode from the anchor code of its layout entry 0.
ResizeMode ResizeModeForAnchor(std::uint8_t anchor_code);

enum class FramePart : std::uint8_t {
  kLeft = 0,
  kTop = 1,
  kRight = 2,
  kBottom = 3,
  kTopLeft = 4,
  kTopRight = 5,
  kBottomLeft = 6,
  kBottomRight = 7,
  kClient = 8,
};

// The part under (x, y) in window coordinates (border included) of a window
// of `width` x `height` with a border of `border` pixels: the edges are
// border + 2 pixels wide, and the corners reach 12 pixels further along them.
FramePart FramePartAt(ResizeMode mode, int border, int width, int height, int x, int y);
// The cursor shown over a frame part (the arrow over the client area).
CursorShape CursorForPart(FramePart part);

struct FrameBox {
  int x;
  int y;
  int width;
  int height;
};

struct SizeLimits {
  int min_width;
  int min_height;
  int max_width;
  int max_height;
};

// The smallest size is the size the window was made with; the largest is
// the screen along the axes the mode lets the window grow.
SizeLimits LimitsForMode(ResizeMode mode, int min_width, int min_height, int screen_width, int screen_height);

// The frame moved by (dx, dy) with its size changed by (dw, dh), the size
// kept within the limits.
FrameBox MoveResize(const FrameBox& frame, int dx, int dy, int dw, int dh, const SizeLimits& limits);

struct FrameDrag {
  FrameBox frame;
  // How far the dragged edges really moved: the press position advances by
  // this much, so an edge held at a limit waits for the mouse to come back.
  int applied_dx;
  int applied_dy;
};

// The held part's edges follow the mouse by (mouse_dx, mouse_dy) while the
// opposite edges stay put, within the limits.
FrameDrag DragFrame(FramePart part, const FrameBox& frame, int mouse_dx, int mouse_dy, const SizeLimits& limits);
