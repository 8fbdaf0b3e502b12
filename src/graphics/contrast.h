// Whether text stays legible on its fill, by the relative-luminance contrast
// ratio that accessibility guidelines use (WCAG 2): from 1 (the same colour)
// to 21 (black on white). Body text needs 4.5. In high-contrast mode the
// canvas draws text that falls short with the system's colours instead of
// the skin's, and the choice of which system pair is made here, apart from
// the device context, so that it is tested natively.
#pragma once

#include <cstdint>

#include "graphics/colours.h"

inline constexpr double kMinimumTextContrast = 4.5;

// 0 for black to 1 for white, from linearised sRGB channels.
double RelativeLuminance(GdiColour colour);
// (lighter + 0.05) / (darker + 0.05), whichever way round the two are given.
double ContrastRatio(GdiColour first, GdiColour second);

// Which of the system's colour pairs replaces a skin pair in high contrast.
enum class SystemTextColours : std::uint8_t {
  kKeep,    // the skin's colours are legible: they stay
  kWindow,  // window text on window background (fields, views, menus)
  kButton,  // button text on button face (the face-coloured parts)
  kGreyed,  // greyed text on button face (what the skin draws disabled)
};

SystemTextColours TextColoursFor(GdiColour text, GdiColour back);
