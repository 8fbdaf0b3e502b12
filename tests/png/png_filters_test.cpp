// Guards the row filters: the optimised Paeth predictor against the
// textbook formula over every input, and the refusal of unknown filter
// types. The filters themselves are exercised by the PngSuite f* files.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/png_filters.h"

namespace {

int TextbookPaeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  if (pb <= pc) return b;
  return c;
}

}  // namespace

TEST(PngFilters, PaethMatchesTheTextbookFormulaEverywhere) {
  int mismatches = 0;
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b)
      for (int c = 0; c < 256; ++c)
        if (PaethPredictor(a, b, c) != TextbookPaeth(a, b, c) && ++mismatches <= 5)
          ADD_FAILURE() << "a=" << a << " b=" << b << " c=" << c;
  EXPECT_EQ(mismatches, 0);
}

TEST(PngFilters, RefusesUnknownFilterTypes) {
  std::uint8_t row[4] = {1, 2, 3, 4}, prior[4] = {};
  for (std::uint8_t filter = 0; filter <= 4; ++filter) EXPECT_TRUE(UnfilterRow(filter, row, prior, 4, 1));
  EXPECT_FALSE(UnfilterRow(5, row, prior, 4, 1));
  EXPECT_FALSE(UnfilterRow(255, row, prior, 4, 1));
}
