#include "ui/widgets/image_button.h"

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "ui/core/widget_host.h"

ImageButton::ImageButton(const LayoutEntry& entry, Container* parent) : PushButton(entry, parent) {
  caption_ = nullptr;
  if (entry.text != nullptr && entry.text[0] != '\0') {
    picture_ = &Skin().GetFacePicture(entry.text);
    constexpr Pixel hot = PixelOf(HotColour);
    hot_picture_ = &Skin().GetPicture(entry.text, hot, hot);
  }
}

void ImageButton::PaintContent(Canvas& canvas, const Rect& inner) {
  bool focused = IsFocused();
  canvas.SetBackColour(focused ? HotColour : FaceColour);
  const Image* picture = focused ? hot_picture_ : picture_;
  if (picture == nullptr || !enabled_) {
    canvas.FillRect(inner.left, inner.top, inner.right, inner.bottom);
    return;
  }
  // Pressed, the picture moves a pixel down and right. Whatever of the
  // inner area the picture leaves takes the background.
  int offset = Pressed() ? 1 : 0;
  int left = inner.left + offset;
  int top = inner.top + offset;
  int right = left + static_cast<int>(picture->Width());
  int bottom = top + static_cast<int>(picture->Height());
  Rect saved = canvas.Clip();
  canvas.SetClip(Intersect(saved, inner));
  DrawImage(canvas, left, top, *picture);
  canvas.SetClip(saved);
  canvas.FillRect(inner.left, inner.top, inner.right, top);
  canvas.FillRect(inner.left, top, left, inner.bottom);
  canvas.FillRect(right, top, inner.right, inner.bottom);
  canvas.FillRect(left, bottom, right, inner.bottom);
}

void ImageButton::MouseMove(int x, int y) {
  PushButton::MouseMove(x, y);
  WidgetHost* host = Host();
  if (host == nullptr) return;
  if (!Contains(Bounds(), x, y)) {
    HideHint();
  } else if (!hint_shown_ && hint_ != nullptr && hint_[0] != '\0') {
    host->ShowHint(hint_, host->ClientToScreen(Point{x, y}));
    hint_shown_ = true;
  }
}

void ImageButton::MouseLeave() { HideHint(); }

void ImageButton::HideHint() {
  WidgetHost* host = Host();
  if (hint_shown_ && host != nullptr) host->HideHint();
  hint_shown_ = false;
}
