// What the PNG tests share: small PNG files built in memory, corpus files
// read from disk, and decoded images turned into plain RGBA for comparison.
//
// Built files wrap their image data in stored DEFLATE blocks with a correct
// Adler-32; chunk CRCs are left zero, which the decoder reads but does not
// check.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class Image;

using Bytes = std::vector<std::uint8_t>;

// The 13 data bytes of an IHDR chunk.
Bytes HeaderData(std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth, std::uint8_t colour_type,
                 std::uint8_t interlace = 0);
// One chunk: length, the 4-letter type, the data and a zero CRC.
Bytes Chunk(const char* type, const Bytes& data);
// A zlib stream holding `raw` in stored blocks.
Bytes Zlib(const Bytes& raw);
// The signature followed by the chunks.
Bytes Png(std::initializer_list<Bytes> chunks);

// The whole file; empty when it cannot be read.
Bytes ReadFileBytes(const std::string& path);
// The picture as R, G, B, A bytes, rows from the top: 8-bit images through
// their colour table, 32-bit ones with blue and red swapped back.
Bytes ToRgba(const Image& image);
