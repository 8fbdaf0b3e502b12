// The drawing resources the whole program shares, made once at start-up in
// this order: the screen size, the pens of the palette, the screen context,
// the two fonts and their glyph atlases. They live until program end.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/font_record.h"
#include "graphics/image_font.h"
#include "handles/gdi_handles.h"

class GraphicsResources {
 public:
  // False when the screen context, a font or an atlas cannot be made; what
  // was made stays until Release.
  bool Create();
  // Deletes everything, in the reverse order.
  void Release();

  std::int32_t ScreenWidth() const { return screen_width_; }
  std::int32_t ScreenHeight() const { return screen_height_; }
  HPEN DarkShadowPen() const { return dark_shadow_pen_.Get(); }
  HPEN ShadowPen() const { return shadow_pen_.Get(); }
  HPEN WhitePen() const { return white_pen_.Get(); }
  HPEN BlackPen() const { return black_pen_.Get(); }
  HPEN FacePen() const { return face_pen_.Get(); }
  HPEN SelectionPen() const { return selection_pen_.Get(); }
  // The "DISPLAY" context: fonts are measured and off-screen bitmaps made in it.
  HDC Screen() const { return screen_.Get(); }
  const FontRecord& NormalFont() const { return normal_font_; }
  const FontRecord& BoldFont() const { return bold_font_; }
  const ImageFont& NormalImageFont() const { return normal_image_font_; }
  const ImageFont& BoldImageFont() const { return bold_image_font_; }

 private:
  std::int32_t screen_width_ = 0;
  std::int32_t screen_height_ = 0;
  PenObject dark_shadow_pen_;
  PenObject shadow_pen_;
  PenObject white_pen_;
  PenObject black_pen_;
  PenObject face_pen_;
  PenObject selection_pen_;
  OwnedDc screen_;
  FontRecord normal_font_;
  FontRecord bold_font_;
  ImageFont normal_image_font_;
  ImageFont bold_image_font_;
};

// The program's one set.
GraphicsResources& Graphics();
