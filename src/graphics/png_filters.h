// Undoing the five PNG row filters (none, Sub, Up, Average, Paeth).
//
// Every filter predicts a byte from its neighbours: a, the byte one pixel to
// the left in the same row; b, the byte above; c, the byte above and to the
// left (a and c are 0 left of the row start). All arithmetic is modulo 256.
#pragma once

#include <cstddef>
#include <cstdint>

// The Paeth predictor: whichever of a, b and c lies closest to a + b - c,
// preferring a, then b, on ties.
inline std::uint8_t PaethPredictor(int a, int b, int c) {
  // |p - a|, |p - b|, |p - c| with p = a + b - c, without forming p.
  int pa = b > c ? b - c : c - b;
  int pb = a > c ? a - c : c - a;
  int pc = a + b - 2 * c;
  if (pc < 0) pc = -pc;
  int b_or_c = pc < pb ? c : b;
  int bc_distance = pc < pb ? pc : pb;
  return static_cast<std::uint8_t>(pa <= bc_distance ? a : b_or_c);
}

// Undoes filter type `filter` on `row` in place. `prior` is the unfiltered
// row above (all zero for the first row of an image or pass); `distance` is
// the number of bytes of one complete pixel: 1, 2, 3, 4, 6 or 8. False for a
// filter type other than 0 to 4 or any other distance.
bool UnfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                 std::size_t distance);
