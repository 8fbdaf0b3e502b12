// Allocation and row addressing of the image block. Sizes are checked
// against kMaxPixelBytes before anything is allocated, so neither a hostile
// picture nor a 32-bit size_t can turn the arithmetic into a short block.
#include "graphics/image.h"

#include <cstring>
#include <new>
#include <utility>

Image::Image(Image&& other) noexcept { *this = std::move(other); }

Image& Image::operator=(Image&& other) noexcept {
  if (this != &other) {
    block_ = std::move(other.block_);
    width_ = other.width_;
    height_ = other.height_;
    bits_per_pixel_ = other.bits_per_pixel_;
    colour_count_ = other.colour_count_;
    stride_ = other.stride_;
    other.Release();
  }
  return *this;
}

bool Image::Create32(std::uint16_t width, std::uint16_t height) { return Create(width, height, 32, 0); }

bool Image::Create24(std::uint16_t width, std::uint16_t height) { return Create(width, height, 24, 0); }

bool Image::Create8(std::uint16_t width, std::uint16_t height, std::uint16_t colour_count) {
  return colour_count <= 256 && Create(width, height, 8, colour_count);
}

bool Image::InitWhitePixel() {
  if (!Create32(1, 1)) return false;
  std::memset(Row(0), 0xFF, 4);
  return true;
}

void Image::Release() {
  block_.reset();
  width_ = height_ = bits_per_pixel_ = colour_count_ = 0;
  stride_ = 0;
}

bool Image::Create(std::uint16_t width, std::uint16_t height, std::uint16_t bits_per_pixel,
                   std::uint16_t colour_count) {
  Release();
  // 65535 x 32 bits fits any size_t; only the product with the height can grow large.
  std::size_t stride = (std::size_t{width} * bits_per_pixel + 31) / 32 * 4;
  if (height != 0 && stride > kMaxPixelBytes / height) return false;
  std::size_t pixel_bytes = stride * height;
  std::size_t block_size = sizeof(DibHeader) + std::size_t{colour_count} * 4 + pixel_bytes;

  block_.reset(new (std::nothrow) std::uint8_t[block_size]);
  if (!block_) return false;
  width_ = width;
  height_ = height;
  bits_per_pixel_ = bits_per_pixel;
  colour_count_ = colour_count;
  stride_ = stride;

  DibHeader header{};
  header.size = sizeof(DibHeader);
  header.width = width;
  header.height = height;
  header.planes = 1;
  header.bits_per_pixel = bits_per_pixel;
  header.colours_used = colour_count;
  new (block_.get()) DibHeader(header);
  std::memset(block_.get() + sizeof(DibHeader), 0, std::size_t{colour_count} * 4);
  return true;
}

std::uint8_t* Image::Row(std::uint32_t y) {
  if (y >= height_) return nullptr;
  return block_.get() + PixelOffset() + std::size_t{height_ - 1 - y} * stride_;
}

const std::uint8_t* Image::Row(std::uint32_t y) const { return const_cast<Image*>(this)->Row(y); }

const std::uint8_t* Image::Bgra(std::uint32_t x, std::uint32_t y) const {
  const std::uint8_t* row = Row(y);
  if (!row || x >= width_) return nullptr;
  if (bits_per_pixel_ == 8) return ColourTable() + 4 * std::size_t{row[x]};
  return bits_per_pixel_ == 32 ? row + 4 * std::size_t{x} : nullptr;
}

std::uint8_t* Image::ColourTable() { return colour_count_ != 0 ? block_.get() + sizeof(DibHeader) : nullptr; }

const std::uint8_t* Image::ColourTable() const { return const_cast<Image*>(this)->ColourTable(); }

const std::uint8_t* Image::Pixels() const { return block_ ? block_.get() + PixelOffset() : nullptr; }

const DibHeader* Image::Header() const {
  // Create placed a DibHeader at the start; new[] aligns the block for it.
  return block_ ? std::launder(reinterpret_cast<const DibHeader*>(block_.get())) : nullptr;
}
