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
#include <memory>

#include "inflate/deflate_alphabets.h"
#include "inflate/huffman_table.h"

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
  // the reader stands inside a started byte: once bit reading has begun,
  // even a byte whose bits are all used counts until AlignToByte. Bytes the
  // decoder has read ahead are handed out first: once Inflate has returned
  // short, they read the bytes right after the stream.
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
  enum class Mode : std::uint8_t { kEnded, kStored, kCodes };

  static constexpr std::size_t kInputSize = 8192;
  static constexpr std::size_t kWindowSize = 32768;
  static constexpr std::size_t kMaxMatch = 258;
  // The history holds the window followed by the bytes decoded since the last
  // slide; decoding stops at kDecodeLimit, a match may run kMaxMatch - 1
  // bytes past it, and DecodeFast's word copies write up to 7 bytes beyond
  // a match, or 24 bytes from its start.
  static constexpr std::size_t kDecodeLimit = 2 * kWindowSize;
  static constexpr std::size_t kHistorySize = kDecodeLimit + kMaxMatch + 16;

  // DecodeFast loads 8 input bytes at a time.
  static constexpr std::ptrdiff_t kFastInputMargin = 8;

  static constexpr unsigned kLiteralRootBits = 11;
  static constexpr unsigned kDistanceRootBits = 8;
  static constexpr unsigned kCodeLengthRootBits = 7;
  static constexpr std::size_t kLiteralTableSize =
      huffman::TableCapacity(kLiteralRootBits, deflate_format::kLiteralLengthSymbols);
  static constexpr std::size_t kDistanceTableSize =
      huffman::TableCapacity(kDistanceRootBits, deflate_format::kDistanceSymbols);

  // Input and bits.
  bool FetchInput();
  void TopUpBits();
  std::uint32_t ReadBits(unsigned count);
  std::uint32_t DecodeSymbol(const std::uint32_t* table, unsigned root_bits);

  // Blocks.
  void UseFixedCodes();
  void ReadDynamicCodes();
  void ReadCodeLengths(const std::uint32_t* code_length_table, std::uint8_t* lengths, unsigned count);
  void EndBlock();

  // Output.
  void Produce(std::size_t wanted);
  std::size_t CopyStored(std::uint8_t* destination, std::size_t wanted);
  void KeepInWindow(const std::uint8_t* bytes, std::size_t count);
  bool DecodeCodes(std::size_t stop);
  bool DecodeFast(std::size_t stop);
  void SlideWindow();

  ByteSource* source_;
  std::unique_ptr<std::uint8_t[]> input_;
  const std::uint8_t* input_position_ = nullptr;
  const std::uint8_t* input_end_ = nullptr;

  // Bits read ahead from the input, the next one in bit 0. They always come
  // from whole bytes, so bit_count_ % 8 bits are what is left of the current
  // byte, and byte reads take whole bytes from here before the input.
  std::uint64_t bits_ = 0;
  unsigned bit_count_ = 0;
  // A byte has been started: bit reading began and no AlignToByte since.
  bool inside_byte_ = false;

  Mode mode_ = Mode::kEnded;
  bool final_block_ = false;
  bool fixed_codes_loaded_ = false;
  std::uint32_t stored_remaining_ = 0;

  // history_[write_ - 32768, write_) is the window; [read_, write_) holds
  // bytes decoded ahead of the caller (the rest of a match, say).
  std::size_t write_ = kWindowSize;
  std::size_t read_ = kWindowSize;

  std::uint32_t literal_table_[kLiteralTableSize];
  std::uint32_t distance_table_[kDistanceTableSize];
  std::uint8_t history_[kHistorySize];
};
