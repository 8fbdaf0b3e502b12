// The drawing resources the whole program shares, made once at start-up in
// this order: the screen size, the pens of the palette, the screen context,
// the two fonts and their glyph atlases. They live until program end.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/font_record.h"
#include "graphics/gdi_handles.h"
#include "graphics/image_font.h"

class GraphicsResources {
 public:
  // False when the screen context, a font or an atlas cannot be made; what
  // was made stays until Release.
  bool Create();
  // Deletes everything, in the reverse order.
  void Release();

  std::int32_t ScreenWidth() const { return screenWidth_; }
  std::int32_t ScreenHeight() const { return screenHeight_; }
  HPEN DarkShadowPen() const { return darkShadowPen_.Get(); }
  HPEN ShadowPen() const { return shadowPen_.Get(); }
  HPEN WhitePen() const { return whitePen_.Get(); }
  HPEN BlackPen() const { return blackPen_.Get(); }
  HPEN FacePen() const { return facePen_.Get(); }
  HPEN SelectionPen() const { return selectionPen_.Get(); }
  // The "DISPLAY" context: fonts are measured and off-screen bitmaps made in it.
  HDC Screen() const { return screen_.Get(); }
  const FontRecord& NormalFont() const { return normalFont_; }
  const FontRecord& BoldFont() const { return boldFont_; }
  const ImageFont& NormalImageFont() const { return normalImageFont_; }
  const ImageFont& BoldImageFont() const { return boldImageFont_; }

 private:
  std::int32_t screenWidth_ = 0;
  std::int32_t screenHeight_ = 0;
  PenObject darkShadowPen_;
  PenObject shadowPen_;
  PenObject whitePen_;
  PenObject blackPen_;
  PenObject facePen_;
  PenObject selectionPen_;
  OwnedDc screen_;
  FontRecord normalFont_;
  FontRecord boldFont_;
  ImageFont normalImageFont_;
  ImageFont boldImageFont_;
};

// The program's one set.
GraphicsResources& Graphics();
