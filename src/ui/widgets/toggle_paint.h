// The look that check boxes and radio buttons share: the state picture at
// the left, the caption right of it on its own background, and face grey
// over the rest of the widget, where a longer caption may have been.
#pragma once

#include "graphics/colours.h"

class Canvas;
class Image;
class Widget;

struct ToggleLook {
  int box_width;  // where the caption's area starts
  const Image& box;
  const char* caption;
  GdiColour text;
  GdiColour back;
  bool focused;  // the caption gets the dotted focus rectangle
};

void PaintToggle(Canvas& canvas, const Widget& widget, const ToggleLook& look);
