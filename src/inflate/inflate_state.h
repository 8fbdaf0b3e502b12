// The raw DEFLATE (RFC 1951) decoder.
//
// An InflateState pulls compressed bytes through Refill, keeps the 32768-byte
// history window and hands out decompressed bytes in pieces of whatever size
// the caller asks for. It knows only raw DEFLATE: the PNG decoder reads the
// zlib wrapper itself through ReadByte, ReadU16 and AlignToByte, and overrides
// Refill to feed the data of its IDAT chunks.
//
// Every data error raises AbortError without a log line of its own; the
// caller reports the abort.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteSource;

class InflateState {
 public:
  // Allocates the input buffer; reads nothing. `source` is not owned and may
  // be null for a subclass that overrides Refill.
  explicit InflateState(ByteSource* source);
  virtual ~InflateState();
  InflateState(const InflateState&) = delete;
  InflateState& operator=(const InflateState&) = delete;

  // Starts a new stream at the source's current position: drops buffered
  // input, clears the window, reads the first block header.
  void BeginStream();
  // Produces up to n bytes into `destination`; fewer only at the stream's end.
  std::size_t Inflate(std::size_t n, std::uint8_t* destination);
  // Reads the next block header and prepares the block.
  void ReadBlockHeader();
  // Clears the window and any pending match (the PNG decoder does this after
  // its zlib header, before ReadBlockHeader).
  void ResetWindow();

  // Byte-level reads for the zlib wrapper. ReadByte raises AbortError when
  // the reader stands inside a started byte.
  std::uint8_t ReadByte();
  std::uint16_t ReadU16();
  // Drops the rest of a started byte.
  void AlignToByte();
  // Frees the input buffer.
  void ReleaseInput();

 protected:
  // Puts more compressed input into `buffer` (at most `capacity` bytes) and
  // returns the count; 0 when the input is exhausted. The base reads from
  // the source.
  virtual std::size_t Refill(std::uint8_t* buffer, std::size_t capacity);

 private:
  // Implementation fields follow (input buffer, bit reader, window, tables).
};
