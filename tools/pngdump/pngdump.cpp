// pngdump IN OUT.pam: decodes a PNG file with the setup's own decoder and
// writes its pixels as an 8-bit RGBA PAM (P7, TUPLTYPE RGB_ALPHA), rows from
// the top, grey and palette pictures expanded through their colour table.
// A developer's window on the decoder: any image viewer or converter can
// then show or compare what the setup would draw. Exit status 1, with the
// reason on stderr, when the file is refused or cannot be read or written.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "log/abort_error.h"

namespace {

bool WritePam(const Image& image, const char* path) {
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fprintf(out, "P7\nWIDTH %u\nHEIGHT %u\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               static_cast<unsigned>(image.Width()), static_cast<unsigned>(image.Height()));
  std::vector<std::uint8_t> row(std::size_t{image.Width()} * 4);
  for (std::uint32_t y = 0; y < image.Height(); ++y) {
    for (std::uint32_t x = 0; x < image.Width(); ++x) {
      const std::uint8_t* bgra = image.Bgra(x, y);
      std::uint8_t* rgba = &row[4 * std::size_t{x}];
      rgba[0] = bgra[2];
      rgba[1] = bgra[1];
      rgba[2] = bgra[0];
      rgba[3] = bgra[3];
    }
    std::fwrite(row.data(), 1, row.size(), out);
  }
  bool written = !std::ferror(out);
  return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pngdump IN.png OUT.pam\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "pngdump: %s: cannot open\n", argv[1]);
    return 1;
  }
  std::vector<std::uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  Image image;
  PngDecoder decoder(png.data(), png.size());
  try {
    decoder.Decode(image, nullptr);
  } catch (const AbortError&) {
    std::fprintf(stderr, "pngdump: %s: refused: %s\n", argv[1], decoder.Failure());
    return 1;
  }
  if (!WritePam(image, argv[2])) {
    std::fprintf(stderr, "pngdump: %s: cannot write\n", argv[2]);
    return 1;
  }
  return 0;
}
