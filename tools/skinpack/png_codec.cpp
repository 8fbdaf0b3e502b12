// libpng reports failures by longjmp. Each function that calls setjmp below
// keeps only plain pointers and integers in its frame, and the C++ objects
// live in its callers, so a jump never skips a destructor.
#include "png_codec.h"

#include <png.h>

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

bool WriteImage(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, int colour_type,
                png_bytepp rows, int filters) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_IHDR(png, info, width, height, 8, colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
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

std::vector<png_bytep> RowPointers(std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                   std::size_t channels = 4) {
  std::vector<png_bytep> rows(height);
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = pixels + std::size_t{y} * width * channels;
  return rows;
}

// The picture's samples in a narrower layout that the setup decodes to the
// same RGBA pixels: RGB when every pixel is opaque, grey and alpha when every
// pixel is grey.
struct Samples {
  int colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
  std::size_t channels = 4;
  std::vector<std::uint8_t> bytes;
};

std::vector<Samples> StorableLayouts(const RgbaPicture& picture) {
  bool opaque = true;
  bool grey = true;
  for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
    const std::uint8_t* p = &picture.pixels[i];
    opaque = opaque && p[3] == 0xFF;
    grey = grey && p[0] == p[1] && p[1] == p[2];
  }
  std::vector<Samples> layouts{{PNG_COLOR_TYPE_RGB_ALPHA, 4, picture.pixels}};
  if (opaque) {
    Samples rgb{PNG_COLOR_TYPE_RGB, 3, {}};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
      rgb.bytes.insert(rgb.bytes.end(), &picture.pixels[i], &picture.pixels[i] + 3);
    }
    layouts.push_back(std::move(rgb));
  }
  if (grey) {
    Samples grey_alpha{PNG_COLOR_TYPE_GRAY_ALPHA, 2, {}};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
      grey_alpha.bytes.insert(grey_alpha.bytes.end(), {picture.pixels[i], picture.pixels[i + 3]});
    }
    layouts.push_back(std::move(grey_alpha));
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
      RowPointers(const_cast<std::uint8_t*>(samples.bytes.data()), picture.width, picture.height, samples.channels);
  if (!WriteImage(writer.png, writer.info, picture.width, picture.height, samples.colour_type, rows.data(), filters)) {
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
  std::vector<png_bytep> rows = RowPointers(picture.pixels.data(), width, height);
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
          WritePngFiltered(picture, samples, filters),
          std::size_t{picture.height} * (1 + std::size_t{picture.width} * samples.channels), repacker);
      if (smallest.empty() || png.size() < smallest.size()) smallest = std::move(png);
    }
  }
  return smallest;
}
