// The filter loops are instantiated for each pixel distance a PNG can have
// (1, 2, 3, 4, 6 and 8 bytes), so the compiler sees the distance as a
// constant and can keep a whole pixel in registers; Sub, Average and Paeth
// depend on the byte just decoded and cannot be vectorised across pixels.
#include "graphics/png_filters.h"

namespace {

enum : std::uint8_t { kNone, kSub, kUp, kAverage, kPaeth };

template <std::size_t kDistance>
bool Unfilter(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  std::size_t start = kDistance < length ? kDistance : length;
  switch (filter) {
    case kNone: return true;
    case kSub:
      for (std::size_t i = kDistance; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - kDistance]);
      return true;
    case kUp:
      for (std::size_t i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      return true;
    case kAverage:
      for (std::size_t i = 0; i < start; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i] / 2);
      for (std::size_t i = kDistance; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + (row[i - kDistance] + prior[i]) / 2);
      return true;
    case kPaeth:
      // With a = c = 0 the predictor is b.
      for (std::size_t i = 0; i < start; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      for (std::size_t i = kDistance; i < length; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + PaethPredictor(row[i - kDistance], prior[i], prior[i - kDistance]));
      return true;
    default: return false;
  }
}

}  // namespace

bool UnfilterRow(std::uint8_t filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                 std::size_t distance) {
  switch (distance) {
    case 1: return Unfilter<1>(filter, row, prior, length);
    case 2: return Unfilter<2>(filter, row, prior, length);
    case 3: return Unfilter<3>(filter, row, prior, length);
    case 4: return Unfilter<4>(filter, row, prior, length);
    case 6: return Unfilter<6>(filter, row, prior, length);
    case 8: return Unfilter<8>(filter, row, prior, length);
    default: return false;
  }
}
