// ImageFont: the glyph atlas of one font, drawn once with GDI into an
// off-screen bitmap and fetched into a 24-bit image; afterwards text goes
// into images without any GDI call (see glyph_atlas.h).
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-getdibits
#pragma once

#include <windows.h>

#include "graphics/glyph_atlas.h"

class FontRecord;

class ImageFont : public GlyphAtlas {
 public:
  // Builds the atlas of `font`, unless it is the font the atlas already
  // shows. False when GDI fails; the atlas then draws nothing.
  bool SetFont(const FontRecord& font);

 private:
  HFONT font_ = nullptr;
};
