// Compresses data (a product file, a skin picture's rows) into the raw
// DEFLATE stream the setup unpacks, and proves it: every stream is decoded
// again with the setup's own decoder and compared byte for byte before the
// builder may use it. The setup's decoder is stricter than RFC 1951 (it
// refuses stored blocks of length 0, which encoders write for empty input,
// and a repeated code length that runs from the literal/length lengths into
// the distance lengths, which libdeflate may write), so an encoder's stream
// that it refuses is replaced by another encoder's.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct StreamEncoder {
  std::string name;
  std::function<Bytes(const Bytes&)> encode;
};

// libdeflate's raw DEFLATE at `level` (1 to 12).
StreamEncoder LibdeflateEncoder(int level);

// libdeflate at `level`, then zlib at its strongest, then zlib's
// stored blocks: the order in which the builder tries encoders.
std::vector<StreamEncoder> DefaultEncoders(int level);

// Whether the setup's decoder turns `stream` into exactly `original`.
bool DecodesTo(const Bytes& stream, const Bytes& original);

// The first encoder's stream that decodes to `data`; none when every
// encoder's stream is refused.
std::optional<Bytes> FirstDecodingStream(const Bytes& data, const std::vector<StreamEncoder>& encoders);

// The first encoder's stream that decodes to `data`; an empty file is the
// empty final fixed block. PackError when no encoder's stream passes.
Bytes EncodeChecked(const Bytes& data, const std::vector<StreamEncoder>& encoders);

// Pieces of data for the streamed forms below, which hold a few hundred
// kilobytes however long the data: `ReadPiece` fills up to n bytes and
// returns how many (0 at the end), `WritePiece` takes the next piece.
using ReadPiece = std::function<std::size_t(std::uint8_t*, std::size_t)>;
using WritePiece = std::function<void(const std::uint8_t*, std::size_t)>;

// zlib's raw DEFLATE at `level` (0, stored blocks, to 9) of what `read`
// gives, handed to `write` as it is made.
void ZlibStreamed(int level, const ReadPiece& read, const WritePiece& write);

// Whether the setup's decoder turns the stream that `stream` reads into
// exactly the bytes that `original` reads.
bool StreamDecodesTo(const ReadPiece& stream, const ReadPiece& original);
