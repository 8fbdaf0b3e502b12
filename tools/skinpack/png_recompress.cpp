#include "png_recompress.h"

#include <libdeflate.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <optional>

namespace {

constexpr std::size_t kSignatureSize = 8;
// Length, type and CRC around each chunk's data.
constexpr std::size_t kChunkFrame = 12;
// zlib's header for the strongest compression without a preset dictionary,
// and its Adler-32 trailer.
constexpr std::uint8_t kZlibHeader[] = {0x78, 0xDA};
constexpr std::size_t kZlibFrame = sizeof kZlibHeader + 4;

std::uint32_t ReadBigEndian(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data, std::size_t size) {
  AppendBigEndian(out, static_cast<std::uint32_t>(size));
  std::size_t type_at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  AppendBigEndian(out, libdeflate_crc32(0, out.data() + type_at, 4 + size));
}

}  // namespace

std::vector<std::uint8_t> RecompressImageData(const std::vector<std::uint8_t>& png, std::size_t raw_size,
                                              const StreamEncoder& repacker) {
  // The chunks before the first IDAT, the image data, and what follows it.
  std::vector<std::uint8_t> compressed;
  std::size_t first_idat = 0;
  std::size_t after_idat = 0;
  for (std::size_t at = kSignatureSize; at + kChunkFrame <= png.size();) {
    std::size_t length = ReadBigEndian(&png[at]);
    if (length > png.size() - at - kChunkFrame) return png;
    if (std::memcmp(&png[at + 4], "IDAT", 4) == 0) {
      if (first_idat == 0) first_idat = at;
      compressed.insert(compressed.end(), png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                        png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
      after_idat = at + kChunkFrame + length;
    }
    at += kChunkFrame + length;
  }
  if (first_idat == 0) return png;

  std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> decompressor(
      libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
  if (!decompressor) return png;
  std::vector<std::uint8_t> raw(raw_size);
  std::size_t inflated = 0;
  if (libdeflate_zlib_decompress(decompressor.get(), compressed.data(), compressed.size(), raw.data(), raw.size(),
                                 &inflated) != LIBDEFLATE_SUCCESS ||
      inflated != raw_size) {
    return png;
  }
  std::optional<Bytes> stream = FirstDecodingStream(raw, {repacker});
  if (!stream || stream->size() + kZlibFrame >= compressed.size()) return png;
  std::vector<std::uint8_t> packed(std::begin(kZlibHeader), std::end(kZlibHeader));
  packed.insert(packed.end(), stream->begin(), stream->end());
  AppendBigEndian(packed, libdeflate_adler32(1, raw.data(), raw.size()));

  std::vector<std::uint8_t> out(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(first_idat));
  AppendChunk(out, "IDAT", packed.data(), packed.size());
  out.insert(out.end(), png.begin() + static_cast<std::ptrdiff_t>(after_idat), png.end());
  return out;
}
