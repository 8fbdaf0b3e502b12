// Builds the in-memory PNG files of the decoder tests and reads the corpus.
#include "png_test_files.h"

#include <fstream>
#include <iterator>

#include "graphics/image.h"

namespace {

void AppendBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

Bytes HeaderData(std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth, std::uint8_t colour_type,
                 std::uint8_t interlace) {
  Bytes data;
  AppendBigEndian32(data, width);
  AppendBigEndian32(data, height);
  data.insert(data.end(), {bit_depth, colour_type, 0, 0, interlace});
  return data;
}

Bytes Chunk(const char* type, const Bytes& data) {
  Bytes chunk;
  AppendBigEndian32(chunk, static_cast<std::uint32_t>(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  AppendBigEndian32(chunk, 0);
  return chunk;
}

Bytes Zlib(const Bytes& raw) {
  Bytes stream = {0x78, 0x01};
  std::size_t done = 0;
  do {
    std::size_t length = raw.size() - done < 65535 ? raw.size() - done : 65535;
    bool last = done + length == raw.size();
    auto length16 = static_cast<std::uint16_t>(length);
    auto complement = static_cast<std::uint16_t>(~length16);
    stream.insert(stream.end(), {static_cast<std::uint8_t>(last ? 1 : 0), static_cast<std::uint8_t>(length16),
                                 static_cast<std::uint8_t>(length16 >> 8), static_cast<std::uint8_t>(complement),
                                 static_cast<std::uint8_t>(complement >> 8)});
    stream.insert(stream.end(), raw.begin() + done, raw.begin() + done + length);
    done += length;
  } while (done < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  AppendBigEndian32(stream, b << 16 | a);
  return stream;
}

Bytes Png(std::initializer_list<Bytes> chunks) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Bytes& chunk : chunks) file.insert(file.end(), chunk.begin(), chunk.end());
  return file;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes ToRgba(const Image& image) {
  Bytes rgba;
  rgba.reserve(std::size_t{image.Width()} * image.Height() * 4);
  for (std::uint32_t y = 0; y < image.Height(); ++y) {
    for (std::uint32_t x = 0; x < image.Width(); ++x) {
      const std::uint8_t* bgra = image.Bgra(x, y);
      rgba.insert(rgba.end(), {bgra[2], bgra[1], bgra[0], bgra[3]});
    }
  }
  return rgba;
}
