// Making and deleting the shared drawing resources.
#include "graphics/graphics_resources.h"

#include "graphics/colours.h"

namespace {

PenObject SolidPen(GdiColour colour) { return PenObject(CreatePen(PS_SOLID, 1, colour)); }

}  // namespace

bool GraphicsResources::Create() {
  Release();
  screen_width_ = GetSystemMetrics(SM_CXFULLSCREEN);
  screen_height_ = GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION);

  dark_shadow_pen_ = SolidPen(DarkShadowColour);
  shadow_pen_ = SolidPen(ShadowColour);
  white_pen_ = SolidPen(WhiteColour);
  black_pen_ = SolidPen(BlackColour);
  face_pen_ = SolidPen(FaceColour);
  selection_pen_ = SolidPen(SelectionColour);

  screen_.Reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!screen_) return false;

  // Made without a context: 96 dots per inch, so 8 points are 11 pixels.
  return normal_font_.Create(nullptr, "Tahoma", 8, kFontNormal, DefaultQuality) &&
         bold_font_.Create(nullptr, "Tahoma", 8, kFontBold, DefaultQuality) &&
         normal_image_font_.SetFont(normal_font_) && bold_image_font_.SetFont(bold_font_);
}

void GraphicsResources::Release() {
  bold_image_font_ = ImageFont{};
  normal_image_font_ = ImageFont{};
  bold_font_.Delete();
  normal_font_.Delete();
  screen_.Reset();
  selection_pen_.Reset();
  face_pen_.Reset();
  black_pen_.Reset();
  white_pen_.Reset();
  shadow_pen_.Reset();
  dark_shadow_pen_.Reset();
}

GraphicsResources& Graphics() {
  static GraphicsResources resources;
  return resources;
}
