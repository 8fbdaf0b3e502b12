// libpng compresses a picture's rows with zlib; libdeflate's strongest level
// packs the same rows a few per cent smaller, and every byte of the default
// skin travels inside each setup. The setup's decoder is stricter than
// DEFLATE, so a re-packed stream is used only when that decoder reads it back
// to the very rows; libpng's own stream is kept otherwise.
#pragma once

#include <cstdint>
#include <vector>

#include "stream_encoder.h"

// `png` as libpng wrote it (IHDR, IDAT chunks, IEND, nothing else) with its
// image data compressed again by `repacker` into one IDAT chunk; `png`
// itself when that is no smaller, the setup's decoder refuses the new
// stream, or the data does not inflate to `raw_size` bytes.
std::vector<std::uint8_t> RecompressImageData(const std::vector<std::uint8_t>& png, std::size_t raw_size,
                                              const StreamEncoder& repacker);
