// Helpers of the DEFLATE decoder tests: corpus files, decoding a whole stream
// with a given refill piece and request pattern, and a bit writer for
// hand-made streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A file of the shared DEFLATE corpus, e.g. "streams/stored.deflate".
std::string CorpusPath(const std::string& relative);
Bytes ReadFileBytes(const std::string& path);

struct Decoded {
  bool refused = false;  // AbortError was raised
  Bytes bytes;           // what was produced before the end or the refusal
};

// Decodes `stream` from its start. The source hands out at most
// `refill_piece` bytes per refill; the output is requested in pieces whose
// sizes cycle through `requests`. Checks that a finished stream then yields 0.
Decoded Decode(const Bytes& stream, std::size_t refill_piece, const std::vector<std::size_t>& requests);

// Writes a bit stream the way DEFLATE packs it.
class BitWriter {
 public:
  // `count` bits of `value`, least significant first (header fields, extra bits).
  BitWriter& Bits(unsigned value, unsigned count);
  // A Huffman code of `length` bits, most significant first.
  BitWriter& Code(unsigned code, unsigned length);
  BitWriter& AlignToByte();
  // The bytes written, the last one padded with zeros.
  Bytes Finish() const { return bytes_; }

 private:
  Bytes bytes_;
  unsigned used_ = 8;  // bits used in the last byte
};

// A symbol of the fixed literal/length code and of the fixed distance code.
void FixedLiteral(BitWriter& writer, unsigned symbol);
void FixedDistance(BitWriter& writer, unsigned symbol);
