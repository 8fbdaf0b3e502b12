// The in-memory picture that all drawing goes through.
//
// An Image owns one block laid out as a device-independent bitmap: a 40-byte
// header of the same layout as Windows' BITMAPINFOHEADER, the colour table
// (8-bit images only) and the pixel rows, stored bottom-up with every row
// padded to a multiple of 4 bytes. That block is exactly what
// SetDIBitsToDevice takes, so the Win32 side can draw an image without
// converting it; this file itself knows nothing of Windows.
//
// Pixels of 32-bit images are the bytes blue, green, red, alpha, with
// straight (not premultiplied) alpha; 24-bit images have no alpha byte;
// 8-bit pixels index the colour table, whose entries are blue, green, red,
// alpha too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Same field order and sizes as BITMAPINFOHEADER.
struct DibHeader {
  std::uint32_t size;
  std::int32_t width;
  std::int32_t height;  // positive: rows are stored bottom-up
  std::uint16_t planes;
  std::uint16_t bits_per_pixel;
  std::uint32_t compression;  // 0, BI_RGB
  std::uint32_t image_size;
  std::int32_t x_pixels_per_metre;
  std::int32_t y_pixels_per_metre;
  std::uint32_t colours_used;
  std::uint32_t colours_important;
};
static_assert(sizeof(DibHeader) == 40, "DibHeader must match BITMAPINFOHEADER");

class Image {
 public:
  // The largest pixel area an image may have: an 8192 x 8192 picture at 32
  // bits, the biggest the PNG decoder accepts. Keeps size arithmetic far
  // from overflow on 32-bit hosts too.
  static constexpr std::size_t kMaxPixelBytes = std::size_t{8192} * 8192 * 4;

  Image() = default;
  // One owner per block: an image moves, it is never copied by accident.
  Image(Image&& other) noexcept;
  Image& operator=(Image&& other) noexcept;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // (Re)allocate the block and fill its header; pixel contents are
  // undefined, the colour table is zeroed. False, with the image left empty,
  // when the pixel area would exceed kMaxPixelBytes, an 8-bit image asks for
  // more than 256 colours, or memory ran out.
  [[nodiscard]] bool Create32(std::uint16_t width, std::uint16_t height);
  [[nodiscard]] bool Create24(std::uint16_t width, std::uint16_t height);
  [[nodiscard]] bool Create8(std::uint16_t width, std::uint16_t height, std::uint16_t colour_count);
  // A 1 x 1 32-bit image with the single pixel FF FF FF FF.
  [[nodiscard]] bool InitWhitePixel();
  void Release();

  bool Empty() const { return !block_; }
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  std::uint32_t BitsPerPixel() const { return bits_per_pixel_; }
  // Bytes per stored row, padding included.
  std::size_t Stride() const { return stride_; }
  std::uint32_t ColourCount() const { return colour_count_; }

  // Row y, counted from the top of the picture; null when y is outside it.
  std::uint8_t* Row(std::uint32_t y);
  const std::uint8_t* Row(std::uint32_t y) const;
  // Blue, green, red and alpha of pixel x of row y: its colour table entry
  // in an 8-bit image, the pixel itself in a 32-bit one. Null for 24-bit
  // images and outside the picture.
  const std::uint8_t* Bgra(std::uint32_t x, std::uint32_t y) const;
  // The colour table (4 bytes per entry); null when the image has none.
  std::uint8_t* ColourTable();
  const std::uint8_t* ColourTable() const;
  // The whole pixel area, bottom row first, and the header in front of the
  // colour table: together what SetDIBitsToDevice takes.
  const std::uint8_t* Pixels() const;
  const DibHeader* Header() const;

 private:
  bool Create(std::uint16_t width, std::uint16_t height, std::uint16_t bits_per_pixel, std::uint16_t colour_count);
  std::size_t PixelOffset() const { return sizeof(DibHeader) + std::size_t{colour_count_} * 4; }

  std::unique_ptr<std::uint8_t[]> block_;
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::uint32_t bits_per_pixel_ = 0;
  std::uint32_t colour_count_ = 0;
  std::size_t stride_ = 0;
};
