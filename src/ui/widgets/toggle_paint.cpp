#include "ui/widgets/toggle_paint.h"

#include <cstring>

#include "graphics/canvas.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "ui/widgets/widget.h"

namespace {

// The caption starts this far into its area.
constexpr int kCaptionIndent = 5;

}  // namespace

void PaintToggle(Canvas& canvas, const Widget& widget, const ToggleLook& look) {
  const FontRecord& font = Graphics().NormalFont();
  canvas.SelectFont(font);
  const char* caption = look.caption != nullptr ? look.caption : "";
  std::size_t length = std::strlen(caption);
  Rect bounds = widget.Bounds();
  int text_left = bounds.left + look.box_width;
  int text_end = text_left + kCaptionIndent + TextWidth(font, caption, length);
  canvas.SetBackColour(FaceColour);
  canvas.FillRect(text_end, bounds.top, bounds.right, bounds.bottom);
  canvas.SetColours(look.text, look.back);
  canvas.TextOutCentredV(kCaptionIndent, Rect{text_left, bounds.top, text_end, bounds.bottom}, caption, length);
  // Around the caption, within what the two fills above have just painted.
  if (look.focused) {
    int focus_right = text_end + 2 < bounds.right ? text_end + 2 : bounds.right;
    canvas.FocusRect(Rect{text_left + kCaptionIndent - 2, bounds.top, focus_right, bounds.bottom});
  }
  DrawImage(canvas, bounds.left, bounds.top, look.box);
}
