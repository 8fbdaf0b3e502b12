// Making and deleting the shared drawing resources.
#include "graphics/graphics_resources.h"

#include "graphics/colours.h"

namespace {

PenObject SolidPen(GdiColour colour) { return PenObject(CreatePen(PS_SOLID, 1, colour)); }

}  // namespace

bool GraphicsResources::Create() {
  Release();
  screenWidth_ = GetSystemMetrics(SM_CXFULLSCREEN);
  screenHeight_ = GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION);

  darkShadowPen_ = SolidPen(DarkShadowColour);
  shadowPen_ = SolidPen(ShadowColour);
  whitePen_ = SolidPen(WhiteColour);
  blackPen_ = SolidPen(BlackColour);
  facePen_ = SolidPen(FaceColour);
  selectionPen_ = SolidPen(SelectionColour);

  screen_.Reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  if (!screen_) return false;

  // Made without a context: 96 dots per inch, so 8 points are 11 pixels.
  return normalFont_.Create(nullptr, "Tahoma", 8, kFontNormal, DefaultQuality) &&
         boldFont_.Create(nullptr, "Tahoma", 8, kFontBold, DefaultQuality) && normalImageFont_.SetFont(normalFont_) &&
         boldImageFont_.SetFont(boldFont_);
}

void GraphicsResources::Release() {
  boldImageFont_ = ImageFont{};
  normalImageFont_ = ImageFont{};
  boldFont_.Delete();
  normalFont_.Delete();
  screen_.Reset();
  selectionPen_.Reset();
  facePen_.Reset();
  blackPen_.Reset();
  whitePen_.Reset();
  shadowPen_.Reset();
  darkShadowPen_.Reset();
}

GraphicsResources& Graphics() {
  static GraphicsResources resources;
  return resources;
}
