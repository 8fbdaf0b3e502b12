// PNG decoding: chunk parsing, the zlib wrapper, row defiltering and the
// conversion of each row into the image.
//
// The file is read in place, chunk by chunk, with every length checked
// against what is left of it. Sizes are settled before anything large is
// allocated: the sides are capped at kMaxSide, and the image is allocated only
// when the image data begins and the compressed bytes left in the file could
// at all expand to the picture, so a small hostile file cannot ask for a huge
// block.
#include "graphics/png_decoder.h"

#include <cstring>
#include <memory>
#include <new>

#include "graphics/image.h"
#include "graphics/png_filters.h"
#include "log/abort_error.h"
#include "log/logger.h"

namespace {

constexpr std::uint32_t ChunkType(const char (&name)[5]) {
  return std::uint32_t{std::uint8_t(name[0])} << 24 | std::uint32_t{std::uint8_t(name[1])} << 16 |
         std::uint32_t{std::uint8_t(name[2])} << 8 | std::uint32_t{std::uint8_t(name[3])};
}

constexpr std::uint32_t kIHDR = ChunkType("IHDR");
constexpr std::uint32_t kPLTE = ChunkType("PLTE");
constexpr std::uint32_t kTRNS = ChunkType("tRNS");
constexpr std::uint32_t kIDAT = ChunkType("IDAT");
constexpr std::uint32_t kTEXT = ChunkType("tEXt");
constexpr std::uint32_t kIEND = ChunkType("IEND");

enum ColourType : std::uint8_t { kGrey = 0, kTruecolour = 2, kPalette = 3, kGreyAlpha = 4, kTruecolourAlpha = 6 };

// DEFLATE produces at most 258 bytes from 2 bits (a length-258 match with
// one-bit codes), so no stream can expand beyond 1032 times its size.
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct Adam7Pass {
  std::uint32_t x_start, y_start, x_step, y_step;
};
constexpr Adam7Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

std::uint32_t ReadBigEndian32(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// Sample k of a pixel whose samples are 1 or 2 bytes, most significant first.
std::uint32_t FullSample(const std::uint8_t* pixel, std::uint32_t k, std::uint32_t sample_bytes) {
  return sample_bytes == 1 ? pixel[k] : std::uint32_t{pixel[2 * k]} << 8 | pixel[2 * k + 1];
}

std::uint32_t PassSide(std::uint32_t side, std::uint32_t start, std::uint32_t step) {
  return side > start ? (side - start + step - 1) / step : 0;
}

}  // namespace

PngDecoder::PngDecoder(const std::uint8_t* data, std::size_t size) : InflateState(nullptr), data_(data), size_(size) {
  std::memset(palette_, 0xFF, sizeof palette_);
}

const char* PngDecoder::Failure() const {
  // The DEFLATE decoder raises AbortError without a reason of its own.
  return failure_ ? failure_ : "damaged compressed image data";
}

void PngDecoder::Fail(const char* reason) {
  failure_ = reason;
  throw AbortError{};
}

void PngDecoder::Decode(Image& image, PngTextList* texts) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size_ < sizeof kSignature || std::memcmp(data_, kSignature, sizeof kSignature) != 0) Fail("not a PNG file");
  position_ = sizeof kSignature;
  ReadHeader(ReadChunk());

  Image decoded;
  // IDAT chunks must follow each other; those left over after the end of the
  // zlib stream (empty ones, stray bytes) are passed over.
  bool in_data_run = false;
  for (;;) {
    Chunk chunk = ReadChunk();
    switch (chunk.type) {
      case kIHDR: Fail("a second IHDR chunk");
      case kPLTE: ReadPalette(chunk); break;
      case kTRNS: ReadTransparency(chunk); break;
      case kIDAT:
        if (data_seen_) {
          if (!in_data_run) Fail("IDAT chunks split by other chunks");
          break;
        }
        if (colour_type_ == kPalette && !palette_seen_) Fail("palette picture without PLTE");
        data_seen_ = true;
        DecodeImageData(chunk, decoded);
        break;
      case kTEXT:
        if (texts) {
          const char* keyword = reinterpret_cast<const char*>(chunk.data);
          const void* nul = std::memchr(keyword, '\0', chunk.length);
          std::size_t keyword_length = nul ? static_cast<const char*>(nul) - keyword : chunk.length;
          std::size_t text_start = nul ? keyword_length + 1 : chunk.length;
          texts->Add(keyword, keyword_length, keyword + text_start, chunk.length - text_start);
        }
        break;
      case kIEND:
        if (!data_seen_) Fail("no IDAT chunk");
        // The palette is copied last, so a tRNS anywhere before IEND counts.
        if (decoded.BitsPerPixel() == 8) std::memcpy(decoded.ColourTable(), palette_, sizeof palette_);
        image = std::move(decoded);
        return;
      default: break;  // ancillary and unknown chunks are skipped
    }
    in_data_run = chunk.type == kIDAT;
  }
}

PngDecoder::Chunk PngDecoder::ReadChunk() {
  // Length, type, data, CRC.
  if (size_ - position_ < 12) Fail("file ends inside a chunk");
  std::uint32_t length = ReadBigEndian32(data_ + position_);
  if (length > size_ - position_ - 12) Fail("file ends inside a chunk");
  Chunk chunk{ReadBigEndian32(data_ + position_ + 4), data_ + position_ + 8, length};
  position_ += std::size_t{length} + 12;
  return chunk;
}

bool PngDecoder::NextChunkIs(std::uint32_t type) const {
  return size_ - position_ >= 8 && ReadBigEndian32(data_ + position_ + 4) == type;
}

void PngDecoder::ReadHeader(const Chunk& header) {
  if (header.type != kIHDR || header.length != 13) Fail("first chunk is not a 13-byte IHDR");
  const std::uint8_t* fields = header.data;
  width_ = ReadBigEndian32(fields);
  height_ = ReadBigEndian32(fields + 4);
  bit_depth_ = fields[8];
  colour_type_ = fields[9];
  std::uint8_t compression = fields[10];
  std::uint8_t filter_method = fields[11];
  interlace_ = fields[12];

  if (compression != 0 || filter_method != 0 || interlace_ > 1) Fail("unknown compression, filter or interlace method");
  if (bit_depth_ != 1 && bit_depth_ != 2 && bit_depth_ != 4 && bit_depth_ != 8 && bit_depth_ != 16)
    Fail("invalid bit depth");
  switch (colour_type_) {
    case kGrey: break;
    case kPalette:
      if (bit_depth_ == 16) Fail("invalid bit depth for the colour type");
      break;
    case kTruecolour:
    case kGreyAlpha:
    case kTruecolourAlpha:
      if (bit_depth_ < 8) Fail("invalid bit depth for the colour type");
      break;
    default: Fail("invalid colour type");
  }
  if (width_ == 0 || height_ == 0) Fail("width or height 0");

  if (colour_type_ == kGrey || colour_type_ == kGreyAlpha) {
    std::uint32_t max_value = bit_depth_ >= 8 ? 255 : (1u << bit_depth_) - 1;
    for (std::uint32_t i = 0; i <= max_value; ++i) {
      auto level = static_cast<std::uint8_t>(i * 255 / max_value);
      palette_[i][0] = palette_[i][1] = palette_[i][2] = level;
    }
    palette_seen_ = true;
  }

  if (width_ > kMaxSide || height_ > kMaxSide) {
    failure_ = "Width and/or height of the picture is bigger than 8192";
    CurrentLogger().LogError(failure_);
  }
}

void PngDecoder::ReadPalette(const Chunk& chunk) {
  // Grey pictures keep their grey levels; only the first PLTE counts.
  if (palette_seen_) return;
  if (chunk.length % 3 != 0 || chunk.length > 768) Fail("invalid PLTE length");
  palette_seen_ = true;
  if (colour_type_ == kTruecolour || colour_type_ == kTruecolourAlpha) return;  // a mere suggestion
  for (std::uint32_t i = 0; i < chunk.length / 3; ++i) {
    const std::uint8_t* rgb = chunk.data + 3 * i;
    palette_[i][0] = rgb[2];
    palette_[i][1] = rgb[1];
    palette_[i][2] = rgb[0];
  }
}

void PngDecoder::ReadTransparency(const Chunk& chunk) {
  switch (colour_type_) {
    case kPalette: {
      if (!palette_seen_) Fail("tRNS before PLTE");
      std::uint32_t count = chunk.length < 256 ? chunk.length : 256;
      for (std::uint32_t i = 0; i < count; ++i) palette_[i][3] = chunk.data[i];
      break;
    }
    case kTruecolour:
      if (chunk.length < 6) Fail("tRNS too short");
      for (int i = 0; i < 3; ++i) key_[i] = static_cast<std::uint16_t>(chunk.data[2 * i] << 8 | chunk.data[2 * i + 1]);
      key_active_ = true;
      break;
    case kGrey: {
      if (chunk.length < 2) Fail("tRNS too short");
      std::uint32_t key = std::uint32_t{chunk.data[0]} << 8 | chunk.data[1];
      // A 16-bit picture keeps only the high byte of each sample, so that is
      // all the key can be matched on. A key beyond the depth matches nothing.
      if (bit_depth_ == 16)
        palette_[key >> 8][3] = 0;
      else if (key < (1u << bit_depth_))
        palette_[key][3] = 0;
      break;
    }
    default: break;  // pictures with an alpha channel ignore tRNS
  }
}

std::uint32_t PngDecoder::RowBytes(std::uint32_t pixels) const {
  static const std::uint32_t kSamplesPerPixel[7] = {1, 0, 3, 1, 2, 0, 4};
  // At most 8192 pixels of 64 bits: no overflow.
  return (pixels * kSamplesPerPixel[colour_type_] * bit_depth_ + 7) / 8;
}

std::uint32_t PngDecoder::FilterDistance() const {
  return RowBytes(1);  // one pixel, and at least one byte for packed samples
}

void PngDecoder::DecodeImageData(const Chunk& first_data, Image& image) {
  // Every row of every pass, filter byte included.
  std::uint64_t filtered_bytes = 0;
  if (interlace_ == 0) {
    filtered_bytes = std::uint64_t{height_} * (1 + RowBytes(width_));
  } else {
    for (const Adam7Pass& pass : kAdam7) {
      std::uint32_t pass_width = PassSide(width_, pass.x_start, pass.x_step);
      if (pass_width != 0)
        filtered_bytes += std::uint64_t{PassSide(height_, pass.y_start, pass.y_step)} * (1 + RowBytes(pass_width));
    }
  }
  std::uint64_t compressed_bytes = size_ - (first_data.data - data_);
  if (filtered_bytes > compressed_bytes * kMaxInflateRatio) Fail("image data too short for the picture");

  auto width = static_cast<std::uint16_t>(width_);
  auto height = static_cast<std::uint16_t>(height_);
  bool created = colour_type_ == kGrey || colour_type_ == kPalette ? image.Create8(width, height, 256)
                                                                   : image.Create32(width, height);
  if (!created) Fail("out of memory");

  idat_next_ = first_data.data;
  idat_remaining_ = first_data.length;
  // The zlib header: deflate, a window of at most 32 KiB, a valid check, no preset dictionary.
  std::uint8_t cmf = ReadByte();
  std::uint8_t flg = ReadByte();
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf * 256u + flg) % 31 != 0 || (flg & 0x20) != 0)
    Fail("invalid zlib header");
  ResetWindow();
  ReadBlockHeader();

  if (interlace_ == 0) {
    DecodePass(image, 0, 0, 1, 1);
  } else {
    for (const Adam7Pass& pass : kAdam7) DecodePass(image, pass.x_start, pass.y_start, pass.x_step, pass.y_step);
  }

  // Run the stream to its end, so that the Adler-32 is read where it lies;
  // image data beyond the picture is ignored.
  std::uint8_t rest[256];
  while (Inflate(sizeof rest, rest) == sizeof rest) {
  }
  AlignToByte();
  ReadU16();
  ReadU16();
  ReleaseInput();
}

void PngDecoder::DecodePass(Image& image, std::uint32_t x_start, std::uint32_t y_start, std::uint32_t x_step,
                            std::uint32_t y_step) {
  std::uint32_t pass_width = PassSide(width_, x_start, x_step);
  if (pass_width == 0 || y_start >= height_) return;  // an empty Adam7 pass
  std::size_t row_bytes = RowBytes(pass_width);
  std::size_t distance = FilterDistance();

  // Two rows, each behind its filter byte: the one being decoded and the one above.
  std::unique_ptr<std::uint8_t[]> rows(new (std::nothrow) std::uint8_t[2 * (1 + row_bytes)]());
  if (!rows) Fail("out of memory");
  std::uint8_t* current = rows.get();
  std::uint8_t* above = rows.get() + 1 + row_bytes;

  for (std::uint32_t y = y_start; y < height_; y += y_step) {
    if (Inflate(1 + row_bytes, current) != 1 + row_bytes) Fail("image data ends early");  // the stream ended early
    if (!UnfilterRow(current[0], current + 1, above + 1, row_bytes, distance)) Fail("unknown filter type");
    StoreRow(image, current + 1, y, x_start, x_step, pass_width);
    std::swap(current, above);
  }
}

void PngDecoder::StoreRow(Image& image, const std::uint8_t* samples, std::uint32_t y, std::uint32_t x_start,
                          std::uint32_t x_step, std::uint32_t count) const {
  std::uint8_t* out = image.Row(y);
  if (colour_type_ == kGrey || colour_type_ == kPalette) {
    out += x_start;
    if (bit_depth_ == 8) {
      for (std::uint32_t i = 0; i < count; ++i) out[i * x_step] = samples[i];
    } else if (bit_depth_ == 16) {
      for (std::uint32_t i = 0; i < count; ++i) out[i * x_step] = samples[2 * i];
    } else {
      // Packed samples, the most significant bits first.
      std::uint32_t per_byte = 8 / bit_depth_;
      std::uint32_t mask = (1u << bit_depth_) - 1;
      for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t shift = 8 - bit_depth_ * (i % per_byte + 1);
        out[i * x_step] = static_cast<std::uint8_t>(samples[i / per_byte] >> shift & mask);
      }
    }
    return;
  }

  out += 4 * x_start;
  std::size_t out_step = 4 * std::size_t{x_step};
  // Samples are 1 or 2 bytes; the first byte is the most significant.
  std::uint32_t sample_bytes = bit_depth_ / 8;
  switch (colour_type_) {
    case kTruecolour:
      for (std::uint32_t i = 0; i < count; ++i, out += out_step) {
        const std::uint8_t* s = samples + 3 * sample_bytes * i;
        out[0] = s[2 * sample_bytes];
        out[1] = s[sample_bytes];
        out[2] = s[0];
        out[3] = 0xFF;
        // The key is compared at full depth, before the reduction to 8 bits.
        if (key_active_ && FullSample(s, 0, sample_bytes) == key_[0] && FullSample(s, 1, sample_bytes) == key_[1] &&
            FullSample(s, 2, sample_bytes) == key_[2])
          out[3] = 0;
      }
      break;
    case kGreyAlpha:
      // At depth 8 and 16 the grey levels are the sample values themselves.
      for (std::uint32_t i = 0; i < count; ++i, out += out_step) {
        const std::uint8_t* s = samples + 2 * sample_bytes * i;
        out[0] = out[1] = out[2] = s[0];
        out[3] = s[sample_bytes];
      }
      break;
    default:  // kTruecolourAlpha
      for (std::uint32_t i = 0; i < count; ++i, out += out_step) {
        const std::uint8_t* s = samples + 4 * sample_bytes * i;
        out[0] = s[2 * sample_bytes];
        out[1] = s[sample_bytes];
        out[2] = s[0];
        out[3] = s[3 * sample_bytes];
      }
      break;
  }
}

std::size_t PngDecoder::Refill(std::uint8_t* buffer, std::size_t capacity) {
  // The zlib stream runs on through consecutive IDAT chunks; anything else ends it.
  while (idat_remaining_ == 0) {
    if (!NextChunkIs(kIDAT)) return 0;
    Chunk chunk = ReadChunk();
    idat_next_ = chunk.data;
    idat_remaining_ = chunk.length;
  }
  std::size_t count = idat_remaining_ < capacity ? idat_remaining_ : capacity;
  std::memcpy(buffer, idat_next_, count);
  idat_next_ += count;
  idat_remaining_ -= count;
  return count;
}

void DecodePng(Image& image, const std::uint8_t* data, std::size_t size, PngTextList* texts) {
  PngDecoder decoder(data, size);
  decoder.Decode(image, texts);
}
