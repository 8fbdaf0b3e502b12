// Reading any PNG into 8-bit RGBA pixels and writing them back as the plain
// PNG the skin archive stores, both through libpng.
//
// Reading keeps the stored sample values as the setup's own decoder does:
// no gamma or colour-space conversion, 16-bit samples cut to their most
// significant byte, palette and tRNS expanded to alpha.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stream_encoder.h"

struct RgbaPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, bytes R, G, B, A
};

// False, with libpng's reason in `error`, when the bytes are no PNG that
// libpng can read or the picture is wider or higher than `max_side`.
bool ReadPngAsRgba(const std::vector<std::uint8_t>& png, std::uint32_t max_side, RgbaPicture& picture,
                   std::string& error);

// A non-interlaced PNG of the picture, as small as libpng and `repacker` can
// make it, with no chunks but IHDR, PLTE, tRNS, IDAT and IEND: 8-bit RGBA, or
// RGB, grey and alpha, or a palette of 1 to 8 bits where those hold the same
// pixels (the setup decodes them all to RGBA).
std::vector<std::uint8_t> WriteRgbaPng(const RgbaPicture& picture,
                                       const StreamEncoder& repacker = LibdeflateEncoder(12));
