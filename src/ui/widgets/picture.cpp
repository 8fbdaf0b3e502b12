#include "ui/widgets/picture.h"

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"

Picture::Picture(const LayoutEntry& entry, Container* parent, const char* name)
    : Widget(entry, parent), name_(name != nullptr ? name : "") {}

void Picture::Paint(Canvas& canvas) {
  canvas.SetBackColour(FaceColour);
  if (name_[0] == '\0') {
    canvas.FillRect(x_, y_, x_ + width_, y_ + height_);
    return;
  }
  DrawImageCentred(canvas, x_, y_, width_, height_, Skin().GetFacePicture(name_));
}
