#include "graphics/contrast.h"

namespace {

// x to the power 2.4 for x in (0.05, 1], as x² · (x^(1/5))². Newton's steps
// on y⁵ = x from 1 fall monotonically onto the root; 16 of them leave an
// error far below what the ratio shows. No maths library: the setup carries
// every byte it links.
double PowerTwoPointFour(double x) {
  double root = 1.0;
  for (int i = 0; i < 16; ++i) {
    double fourth = root * root * root * root;
    root -= (fourth * root - x) / (5.0 * fourth);
  }
  return x * x * root * root;
}

// One sRGB channel (0 to 255) in linear light.
double LinearChannel(std::uint8_t value) {
  double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : PowerTwoPointFour((c + 0.055) / 1.055);
}

}  // namespace

double RelativeLuminance(GdiColour colour) {
  return 0.2126 * LinearChannel(RedOf(colour)) + 0.7152 * LinearChannel(GreenOf(colour)) +
         0.0722 * LinearChannel(BlueOf(colour));
}

double ContrastRatio(GdiColour first, GdiColour second) {
  double a = RelativeLuminance(first);
  double b = RelativeLuminance(second);
  return a > b ? (a + 0.05) / (b + 0.05) : (b + 0.05) / (a + 0.05);
}

SystemTextColours TextColoursFor(GdiColour text, GdiColour back) {
  if (ContrastRatio(text, back) >= kMinimumTextContrast) return SystemTextColours::kKeep;
  // The skin greys out disabled text in the shadow colour; it stays greyed,
  // in the system's own grey.
  if (text == ShadowColour) return SystemTextColours::kGreyed;
  if (back == FaceColour || back == HotColour) return SystemTextColours::kButton;
  return SystemTextColours::kWindow;
}
