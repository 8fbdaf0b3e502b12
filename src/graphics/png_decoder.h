// The PNG decoder of the skin pictures.
//
// Turns the bytes of one PNG file, held in memory, into an Image: 8 bits per
// pixel with a 256-entry colour table for grey and palette pictures, 32 bits
// per pixel (blue, green, red, straight alpha) for everything else. Every
// colour type and bit depth, Adam7 interlacing, PLTE and tRNS are supported;
// 16-bit samples keep their most significant byte. The image data goes
// through the program's own DEFLATE decoder, which this class extends: its
// Refill hands out the data of the IDAT chunks. Chunk CRCs and the zlib
// Adler-32 are not verified.
//
// A file the decoder cannot take raises AbortError and leaves the target
// image as it was. Only a picture over the size limit says why, through the
// current logger; everything else is plain bad data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "inflate/inflate_state.h"

class Image;

// Receives the keyword and text of each tEXt chunk, as stored (Latin-1, not
// NUL-terminated).
class PngTextList {
 public:
  virtual void Add(const char* keyword, std::size_t keyword_length, const char* text, std::size_t text_length) = 0;

 protected:
  ~PngTextList() = default;
};

class PngDecoder : public InflateState {
 public:
  // Pictures wider or higher than this are refused with a logged message.
  static constexpr std::uint32_t kMaxSide = 8192;

  // `data` must stay valid while the decoder is used; a decoder decodes one file once.
  PngDecoder(const std::uint8_t* data, std::size_t size);

  // Decodes the whole file into `image`; `texts` may be null.
  void Decode(Image& image, PngTextList* texts);
  // After Decode raised AbortError: what was wrong, for developer tools.
  // The program itself logs nothing for bad data.
  const char* Failure() const;

 protected:
  std::size_t Refill(std::uint8_t* buffer, std::size_t capacity) override;

 private:
  struct Chunk {
    std::uint32_t type;
    const std::uint8_t* data;
    std::uint32_t length;
  };

  [[noreturn]] void Fail(const char* reason);
  Chunk ReadChunk();
  bool NextChunkIs(std::uint32_t type) const;
  void ReadHeader(const Chunk& header);
  void ReadPalette(const Chunk& chunk);
  void ReadTransparency(const Chunk& chunk);
  void DecodeImageData(const Chunk& first_data, Image& image);
  void DecodePass(Image& image, std::uint32_t x_start, std::uint32_t y_start, std::uint32_t x_step,
                  std::uint32_t y_step);
  std::uint32_t RowBytes(std::uint32_t pixels) const;
  std::uint32_t FilterDistance() const;
  void StoreRow(Image& image, const std::uint8_t* samples, std::uint32_t y, std::uint32_t x_start, std::uint32_t x_step,
                std::uint32_t count) const;

  const char* failure_ = nullptr;
  // The file, and the next chunk in it.
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  // What is left of the IDAT chunk that Refill hands out.
  const std::uint8_t* idat_next_ = nullptr;
  std::size_t idat_remaining_ = 0;

  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::uint32_t bit_depth_ = 0;
  std::uint8_t colour_type_ = 0;
  std::uint32_t interlace_ = 0;

  bool data_seen_ = false;
  bool palette_seen_ = false;
  // Blue, green, red, alpha per entry; also the grey levels of grey pictures.
  std::uint8_t palette_[256][4];
  // The tRNS colour of a truecolour picture: red, green, blue samples at full depth.
  bool key_active_ = false;
  std::uint16_t key_[3] = {};
};

// Decodes the PNG file in `data` into `image`; raises AbortError when the
// file cannot be decoded, leaving `image` untouched.
void DecodePng(Image& image, const std::uint8_t* data, std::size_t size, PngTextList* texts = nullptr);
