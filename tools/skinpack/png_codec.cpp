// libpng reports failures by longjmp. Each function that calls setjmp below
// keeps only plain pointers and integers in its frame, and the C++ objects
// live in its callers, so a jump never skips a destructor.
#include "png_codec.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "png_recompress.h"

namespace {

struct Session {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
  std::vector<std::uint8_t>* output = nullptr;
  char message[200] = "";
};

void OnError(png_structp png, png_const_charp message) {
  auto* session = static_cast<Session*>(png_get_error_ptr(png));
  std::snprintf(session->message, sizeof session->message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, std::size_t count) {
  auto* session = static_cast<Session*>(png_get_io_ptr(png));
  if (count > session->size - session->position) png_error(png, "the file ends early");
  std::memcpy(out, session->data + session->position, count);
  session->position += count;
}

void WriteToMemory(png_structp png, png_bytep data, std::size_t count) {
  auto* session = static_cast<Session*>(png_get_io_ptr(png));
  try {
    session->output->insert(session->output->end(), data, data + count);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");
  }
}

void FlushNothing(png_structp) {}

bool ReadHeader(png_structp png, png_infop info, png_uint_32 max_side, png_uint_32* width, png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, max_side, max_side);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  if (png_get_rowbytes(png, info) != std::size_t{*width} * 4) png_error(png, "cannot be turned into RGBA");
  return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

// The picture's samples in one of the layouts the setup decodes to the same
// RGBA pixels, with its palette and palette alpha where it has them.
struct Samples {
  int colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
  int bit_depth = 8;
  std::size_t row_bytes = 0;
  std::vector<std::uint8_t> bytes;
  std::vector<png_color> palette;
  std::vector<png_byte> palette_alpha;
};

bool WriteImage(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, const Samples& samples,
                png_bytepp rows, int filters) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_IHDR(png, info, width, height, samples.bit_depth, samples.colour_type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!samples.palette.empty()) {
    png_set_PLTE(png, info, samples.palette.data(), static_cast<int>(samples.palette.size()));
  }
  if (!samples.palette_alpha.empty()) {
    png_set_tRNS(png, info, samples.palette_alpha.data(), static_cast<int>(samples.palette_alpha.size()), nullptr);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct WriteStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~WriteStructs() { png_destroy_write_struct(&png, &info); }
};

std::vector<png_bytep> RowPointers(std::uint8_t* pixels, std::uint32_t height, std::size_t row_bytes) {
  std::vector<png_bytep> rows(height);
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = pixels + std::size_t{y} * row_bytes;
  return rows;
}

std::uint32_t PackedColour(const std::uint8_t* rgba) {
  return std::uint32_t{rgba[0]} << 24 | std::uint32_t{rgba[1]} << 16 | std::uint32_t{rgba[2]} << 8 | rgba[3];
}

// Each of the picture's colours, the translucent ones first so that the
// tRNS chunk stays short; nothing when there are more than a palette holds.
std::vector<std::uint32_t> PaletteColours(const RgbaPicture& picture) {
  std::vector<std::uint32_t> translucent;
  std::vector<std::uint32_t> opaque;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    const std::uint32_t colour = PackedColour(&picture.pixels[i]);
    std::vector<std::uint32_t>& list = (colour & 0xFF) == 0xFF ? opaque : translucent;
    if (std::find(list.begin(), list.end(), colour) != list.end()) continue;
    if (translucent.size() + opaque.size() == 256) return {};
    list.push_back(colour);
  }
  translucent.insert(translucent.end(), opaque.begin(), opaque.end());
  return translucent;
}

// The picture as indices into `colours`, `bit_depth` bits each, packed from
// the high bits of each byte.
Samples PaletteLayout(const RgbaPicture& picture, const std::vector<std::uint32_t>& colours, int bit_depth) {
  Samples samples{PNG_COLOR_TYPE_PALETTE, bit_depth, (std::size_t{picture.width} * bit_depth + 7) / 8, {}, {}, {}};
  for (std::uint32_t colour : colours) {
    samples.palette.push_back(png_color{static_cast<png_byte>(colour >> 24), static_cast<png_byte>(colour >> 16),
                                        static_cast<png_byte>(colour >> 8)});
    if ((colour & 0xFF) != 0xFF) samples.palette_alpha.push_back(static_cast<png_byte>(colour));
  }
  samples.bytes.assign(samples.row_bytes * picture.height, 0);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint32_t colour = PackedColour(&picture.pixels[(std::size_t{y} * picture.width + x) * 4]);
      const auto index =
          static_cast<std::uint32_t>(std::find(colours.begin(), colours.end(), colour) - colours.begin());
      const std::size_t bit = std::size_t{x} * bit_depth;
      samples.bytes[y * samples.row_bytes + bit / 8] |= static_cast<std::uint8_t>(index << (8 - bit_depth - bit % 8));
    }
  }
  return samples;
}

// Every layout that keeps the picture's pixels: RGBA; RGB when every pixel is
// opaque; grey and alpha when every pixel is grey; a palette of the fewest
// bits (and of 8 bits, which now and then packs smaller) when there are at
// most 256 colours.
std::vector<Samples> StorableLayouts(const RgbaPicture& picture) {
  bool opaque = true;
  bool grey = true;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    const std::uint8_t* p = &picture.pixels[i];
    opaque = opaque && p[3] == 0xFF;
    grey = grey && p[0] == p[1] && p[1] == p[2];
  }
  const std::size_t width = picture.width;
  std::vector<Samples> layouts{{PNG_COLOR_TYPE_RGB_ALPHA, 8, width * 4, picture.pixels, {}, {}}};
  if (opaque) {
    Samples rgb{PNG_COLOR_TYPE_RGB, 8, width * 3, {}, {}, {}};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
      rgb.bytes.insert(rgb.bytes.end(), &picture.pixels[i], &picture.pixels[i] + 3);
    }
    layouts.push_back(std::move(rgb));
  }
  if (grey) {
    Samples grey_alpha{PNG_COLOR_TYPE_GRAY_ALPHA, 8, width * 2, {}, {}, {}};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
      grey_alpha.bytes.insert(grey_alpha.bytes.end(), {picture.pixels[i], picture.pixels[i + 3]});
    }
    layouts.push_back(std::move(grey_alpha));
  }
  const std::vector<std::uint32_t> colours = PaletteColours(picture);
  if (!colours.empty()) {
    int fewest_bits = 1;
    while (colours.size() > (std::size_t{1} << fewest_bits)) fewest_bits *= 2;
    layouts.push_back(PaletteLayout(picture, colours, fewest_bits));
    if (fewest_bits != 8) layouts.push_back(PaletteLayout(picture, colours, 8));
  }
  return layouts;
}

std::vector<std::uint8_t> WritePngFiltered(const RgbaPicture& picture, const Samples& samples, int filters) {
  std::vector<std::uint8_t> png;
  Session session;
  session.output = &png;
  WriteStructs writer;
  writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, OnError, OnWarning);
  if (writer.png != nullptr) writer.info = png_create_info_struct(writer.png);
  if (writer.info == nullptr) throw std::bad_alloc();
  png_set_write_fn(writer.png, &session, WriteToMemory, FlushNothing);
  // libpng only reads through the row pointers while writing.
  std::vector<png_bytep> rows =
      RowPointers(const_cast<std::uint8_t*>(samples.bytes.data()), picture.height, samples.row_bytes);
  if (!WriteImage(writer.png, writer.info, picture.width, picture.height, samples, rows.data(), filters)) {
    throw std::runtime_error(std::string("libpng cannot write the picture: ") + session.message);
  }
  return png;
}

}  // namespace

bool ReadPngAsRgba(const std::vector<std::uint8_t>& png, std::uint32_t max_side, RgbaPicture& picture,
                   std::string& error) {
  Session session;
  session.data = png.data();
  session.size = png.size();
  if (png.size() < 8 || png_sig_cmp(png.data(), 0, 8) != 0) {
    error = "not a PNG file";
    return false;
  }
  ReadStructs reader;
  reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, OnError, OnWarning);
  if (reader.png != nullptr) reader.info = png_create_info_struct(reader.png);
  if (reader.info == nullptr) throw std::bad_alloc();
  png_set_read_fn(reader.png, &session, ReadFromMemory);

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  if (!ReadHeader(reader.png, reader.info, max_side, &width, &height)) {
    error = session.message;
    return false;
  }
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(std::size_t{width} * height * 4, 0);
  std::vector<png_bytep> rows = RowPointers(picture.pixels.data(), height, std::size_t{width} * 4);
  if (!ReadRows(reader.png, rows.data())) {
    error = session.message;
    return false;
  }
  return true;
}

// Every setup carries its skin, so each picture is written in each layout
// that keeps its pixels, with each row filter in turn (and with libpng's
// choice per row), and the smallest is kept.
std::vector<std::uint8_t> WriteRgbaPng(const RgbaPicture& picture, const StreamEncoder& repacker) {
  std::vector<std::uint8_t> smallest;
  for (const Samples& samples : StorableLayouts(picture)) {
    for (int filters :
         {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH, PNG_ALL_FILTERS}) {
      // Each row starts with its filter byte.
      std::vector<std::uint8_t> png = RecompressImageData(
          WritePngFiltered(picture, samples, filters), std::size_t{picture.height} * (1 + samples.row_bytes), repacker);
      if (smallest.empty() || png.size() < smallest.size()) smallest = std::move(png);
    }
  }
  return smallest;
}
