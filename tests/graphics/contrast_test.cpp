// The text contrast rule: ratios of well-known colour pairs, the 4.5 line
// between the two greys that sit on either side of it, and which system
// colours replace a pair in high contrast.
#include "graphics/contrast.h"

#include <gtest/gtest.h>

TEST(ContrastRatio, KnownPairs) {
  struct Case {
    const char* what;
    GdiColour first, second;
    double expected;
  } cases[] = {
      {"black on white is the maximum", BlackColour, WhiteColour, 21.0},
      {"the order does not matter", WhiteColour, BlackColour, 21.0},
      {"a colour on itself is the minimum", FaceColour, FaceColour, 1.0},
      {"#767676 on white, the lightest grey that passes", Grey(0x76), WhiteColour, 4.54},
      {"#777777 on white, just short", Grey(0x77), WhiteColour, 4.48},
      {"pure red on white", Rgb(255, 0, 0), WhiteColour, 4.00},
      {"pure blue on black", Rgb(0, 0, 255), BlackColour, 2.44},
      {"red and blue channels are not swapped", Rgb(0, 0, 255), Rgb(255, 0, 0), 2.15},
      {"disabled grey on the face", ShadowColour, FaceColour, 2.85},
  };
  for (const Case& c : cases) EXPECT_NEAR(ContrastRatio(c.first, c.second), c.expected, 0.005) << c.what;
}

TEST(TextColoursFor, HighContrastReplacesOnlyIllegiblePairs) {
  struct Case {
    const char* what;
    GdiColour text, back;
    SystemTextColours expected;
  } cases[] = {
      {"label on the face", BlackColour, FaceColour, SystemTextColours::kKeep},
      {"focused button caption", BlackColour, HotColour, SystemTextColours::kKeep},
      {"selected line", WhiteColour, SelectionColour, SystemTextColours::kKeep},
      {"4.54 is enough", Grey(0x76), WhiteColour, SystemTextColours::kKeep},
      {"disabled caption stays greyed", ShadowColour, FaceColour, SystemTextColours::kGreyed},
      {"disabled menu item stays greyed", ShadowColour, WhiteColour, SystemTextColours::kGreyed},
      {"pale text on the face", Grey(200), FaceColour, SystemTextColours::kButton},
      {"pale text on a focused face", WhiteColour, HotColour, SystemTextColours::kButton},
      {"pale text in a field", Grey(0x77), WhiteColour, SystemTextColours::kWindow},
      {"dark text on a dark selection", BlackColour, Rgb(0, 0, 128), SystemTextColours::kWindow},
  };
  for (const Case& c : cases) EXPECT_EQ(TextColoursFor(c.text, c.back), c.expected) << c.what;
}
