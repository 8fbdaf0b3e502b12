// What a scroll bar needs of the view it serves: the two axes (view size,
// content size, offset), one step for an arrow held down, and scrolling by
// a number of pixels along each axis. The view clamps every scroll to its
// content.
#pragma once

#include "ui/widgets/scroll_bar_geometry.h"

class Scrollable {
 public:
  virtual ScrollAxis HorizontalAxis() const = 0;
  virtual ScrollAxis VerticalAxis() const = 0;
  // One step for a part of a scroll bar (an arrow, a page area).
  virtual void ScrollStep(int part) = 0;
  virtual void ScrollByX(int dx) = 0;
  virtual void ScrollByY(int dy) = 0;

 protected:
  ~Scrollable() = default;
};
