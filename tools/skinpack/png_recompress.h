// libpng compresses a picture's rows with zlib; libdeflate's strongest level
// packs the same rows a few per cent smaller, and every byte of the default
// skin travels inside each setup.
#pragma once

#include <cstdint>
#include <vector>

// `png` as libpng wrote it (IHDR, IDAT chunks, IEND, nothing else) with its
// image data compressed again by libdeflate into one IDAT chunk; `png`
// itself when that is no smaller or the data does not inflate to
// `raw_size` bytes.
std::vector<std::uint8_t> RecompressImageData(const std::vector<std::uint8_t>& png, std::size_t raw_size);
