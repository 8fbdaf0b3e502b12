// The DEFLATE decoder: input and bit reading, block headers and the output
// loop. Compressed blocks are decoded by DecodeFast (inflate_fast.cpp) while
// the input buffer has bytes to spare, and one symbol at a time near its end,
// where a symbol may need the next refill.
//
// Compressed blocks are decoded into history_, which keeps the 32 KiB window
// in one piece in front of what is being decoded, so matches copy from one
// flat buffer; the caller gets a copy. Decoding stops once the caller's
// request is met, so at most the rest of one match (and two literals) waits
// in history_ for the next call. Stored blocks go straight to the caller.
#include "inflate/inflate_state.h"

#include <algorithm>
#include <cstring>

#include "inflate/byte_source.h"
#include "log/abort_error.h"

InflateState::InflateState(ByteSource* source) : source_(source), input_(new std::uint8_t[kInputSize]) {
  input_position_ = input_end_ = input_.get();
  // Word copies read a little past what has been decoded: let that be zeros.
  std::memset(history_, 0, kHistorySize);
  ResetWindow();
}

InflateState::~InflateState() = default;

void InflateState::BeginStream() {
  input_position_ = input_end_ = input_.get();
  bits_ = 0;
  bit_count_ = 0;
  inside_byte_ = false;
  ResetWindow();
  ReadBlockHeader();
}

void InflateState::ResetWindow() {
  // A distance reaching before the start of the stream copies zero bytes.
  std::memset(history_, 0, kWindowSize);
  write_ = read_ = kWindowSize;
}

void InflateState::ReleaseInput() {
  input_.reset();
  input_position_ = input_end_ = nullptr;
}

std::size_t InflateState::Refill(std::uint8_t* buffer, std::size_t capacity) {
  return source_ != nullptr ? source_->ReadUpTo(buffer, capacity) : 0;
}

// Replaces the used-up input buffer; false when the input is exhausted.
bool InflateState::FetchInput() {
  if (!input_) throw AbortError{};
  std::size_t count = Refill(input_.get(), kInputSize);
  if (count > kInputSize) throw AbortError{};
  input_position_ = input_.get();
  input_end_ = input_position_ + count;
  return count != 0;
}

// Moves buffered input bytes into bits_, without fetching input. Clears the
// bits above bit_count_ that DecodeFast may have read ahead, so a lookup on a
// short bit supply sees zeros there.
void InflateState::TopUpBits() {
  bits_ &= (std::uint64_t{1} << bit_count_) - 1;
  while (bit_count_ < 56 && input_position_ != input_end_) {
    bits_ |= std::uint64_t{*input_position_++} << bit_count_;
    bit_count_ += 8;
  }
}

std::uint32_t InflateState::ReadBits(unsigned count) {
  if (bit_count_ < count) {
    TopUpBits();
    while (bit_count_ < count) {
      if (!FetchInput()) throw AbortError{};
      TopUpBits();
    }
  }
  auto value = static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << count) - 1));
  bits_ >>= count;
  bit_count_ -= count;
  return value;
}

// Decodes one symbol, fetching input only when the symbol's code needs it;
// returns its entry with the code bits consumed and the extra bits not.
std::uint32_t InflateState::DecodeSymbol(const std::uint32_t* table, unsigned root_bits) {
  TopUpBits();
  for (;;) {
    std::uint32_t entry = table[bits_ & ((1u << root_bits) - 1)];
    unsigned needed = huffman::CodeBits(entry);
    if (entry & huffman::kLink) {
      std::uint64_t sub_index = (bits_ >> root_bits) & ((1u << huffman::TotalBits(entry)) - 1);
      entry = table[huffman::Value(entry) + sub_index];
      needed = root_bits + huffman::CodeBits(entry);
    }
    if (needed <= bit_count_) {
      if (entry & huffman::kInvalid) throw AbortError{};
      bits_ >>= needed;
      bit_count_ -= needed;
      return entry;
    }
    if (!FetchInput()) throw AbortError{};
    TopUpBits();
  }
}

std::uint8_t InflateState::ReadByte() {
  if (inside_byte_) throw AbortError{};
  if (bit_count_ >= 8) {  // a whole byte already read ahead
    auto value = static_cast<std::uint8_t>(bits_);
    bits_ >>= 8;
    bit_count_ -= 8;
    return value;
  }
  if (input_position_ == input_end_ && !FetchInput()) throw AbortError{};
  return *input_position_++;
}

std::uint16_t InflateState::ReadU16() {
  unsigned low = ReadByte();
  unsigned high = ReadByte();
  return static_cast<std::uint16_t>(low | (high << 8));
}

void InflateState::AlignToByte() {
  if (!inside_byte_) return;
  unsigned rest = bit_count_ % 8;
  bits_ >>= rest;
  bit_count_ -= rest;
  inside_byte_ = false;
}

void InflateState::ReadBlockHeader() {
  mode_ = Mode::kEnded;  // until the header has been read completely
  inside_byte_ = true;
  final_block_ = ReadBits(1) != 0;
  switch (ReadBits(2)) {
    case 0: {
      AlignToByte();
      unsigned length = ReadU16();
      unsigned complement = ReadU16();
      // A stored block of length 0 is refused too: the package builder never
      // writes one, so meeting one means the data is damaged.
      if (length == 0 || length != (~complement & 0xFFFFu)) throw AbortError{};
      stored_remaining_ = length;
      mode_ = Mode::kStored;
      return;
    }
    case 1: UseFixedCodes(); break;
    case 2: ReadDynamicCodes(); break;
    default: throw AbortError{};
  }
  stored_remaining_ = 0;
  mode_ = Mode::kCodes;
}

void InflateState::UseFixedCodes() {
  if (fixed_codes_loaded_) return;
  huffman::BuildTable(deflate_format::kFixedLiteralLengthLengths.data(), deflate_format::kLiteralLengthSymbols,
                      deflate_format::kLiteralLengthEntries.data(), kLiteralRootBits, literal_table_,
                      kLiteralTableSize);
  huffman::BuildTable(deflate_format::kFixedDistanceLengths.data(), deflate_format::kDistanceSymbols,
                      deflate_format::kDistanceEntries.data(), kDistanceRootBits, distance_table_, kDistanceTableSize);
  fixed_codes_loaded_ = true;
}

void InflateState::ReadDynamicCodes() {
  fixed_codes_loaded_ = false;
  unsigned literal_count = ReadBits(5) + 257;
  unsigned distance_count = ReadBits(5) + 1;
  unsigned code_length_count = ReadBits(4) + 4;

  std::uint8_t code_length_lengths[deflate_format::kCodeLengthSymbols] = {};
  for (unsigned i = 0; i < code_length_count; ++i) {
    code_length_lengths[deflate_format::kCodeLengthOrder[i]] = static_cast<std::uint8_t>(ReadBits(3));
  }
  // Code-length codes are at most 7 bits long, so this table has no subtables.
  constexpr std::size_t kCodeLengthTableSize = std::size_t{1} << kCodeLengthRootBits;
  std::uint32_t code_length_table[kCodeLengthTableSize];
  huffman::BuildTable(code_length_lengths, deflate_format::kCodeLengthSymbols,
                      deflate_format::kCodeLengthEntries.data(), kCodeLengthRootBits, code_length_table,
                      kCodeLengthTableSize);

  // Two sequences of their own: no repeat runs from one into the other.
  std::uint8_t literal_lengths[deflate_format::kLiteralLengthSymbols] = {};
  ReadCodeLengths(code_length_table, literal_lengths, literal_count);
  std::uint8_t distance_lengths[deflate_format::kDistanceSymbols] = {};
  ReadCodeLengths(code_length_table, distance_lengths, distance_count);

  huffman::BuildTable(literal_lengths, deflate_format::kLiteralLengthSymbols,
                      deflate_format::kLiteralLengthEntries.data(), kLiteralRootBits, literal_table_,
                      kLiteralTableSize);
  huffman::BuildTable(distance_lengths, deflate_format::kDistanceSymbols, deflate_format::kDistanceEntries.data(),
                      kDistanceRootBits, distance_table_, kDistanceTableSize);
}

// Reads `count` code lengths. The code-length alphabet has symbols 0 to 18
// only, so no larger symbol can be decoded.
void InflateState::ReadCodeLengths(const std::uint32_t* code_length_table, std::uint8_t* lengths, unsigned count) {
  unsigned filled = 0;
  while (filled < count) {
    unsigned symbol = huffman::Value(DecodeSymbol(code_length_table, kCodeLengthRootBits));
    if (symbol < 16) {
      lengths[filled++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    std::uint8_t repeated = 0;
    unsigned times = 0;
    if (symbol == 16) {
      if (filled == 0) throw AbortError{};  // nothing to repeat
      repeated = lengths[filled - 1];
      times = 3 + ReadBits(2);
    } else if (symbol == 17) {
      times = 3 + ReadBits(3);
    } else {
      times = 11 + ReadBits(7);
    }
    if (times > count - filled) throw AbortError{};
    std::memset(lengths + filled, repeated, times);
    filled += times;
  }
}

void InflateState::EndBlock() {
  if (final_block_) {
    mode_ = Mode::kEnded;
  } else {
    ReadBlockHeader();
  }
}

std::size_t InflateState::Inflate(std::size_t n, std::uint8_t* destination) {
  std::size_t produced = 0;
  for (;;) {
    std::size_t take = std::min(write_ - read_, n - produced);
    if (take != 0) {
      std::memcpy(destination + produced, history_ + read_, take);
      read_ += take;
      produced += take;
    }
    if (produced == n) return n;
    switch (mode_) {
      case Mode::kEnded: return produced;
      case Mode::kStored: produced += CopyStored(destination + produced, n - produced); break;
      case Mode::kCodes: Produce(n - produced); break;
    }
  }
}

// Decodes at least `wanted` bytes, or what fits before kDecodeLimit, or up to
// the end of the compressed block. Everything decoded before has been handed
// out.
void InflateState::Produce(std::size_t wanted) {
  if (write_ >= kDecodeLimit) SlideWindow();
  std::size_t stop = wanted < kDecodeLimit - write_ ? write_ + wanted : kDecodeLimit;
  while (write_ < stop && mode_ == Mode::kCodes) {
    if (DecodeCodes(stop)) EndBlock();
  }
}

void InflateState::SlideWindow() {
  std::memmove(history_, history_ + write_ - kWindowSize, kWindowSize);
  write_ = read_ = kWindowSize;
}

// Copies stored blocks straight to the caller, then keeps what they gave in
// the window, so already-compressed files cost one copy and the window's
// share. Everything decoded before has been handed out.
std::size_t InflateState::CopyStored(std::uint8_t* destination, std::size_t wanted) {
  std::size_t copied = 0;
  while (mode_ == Mode::kStored && copied < wanted) {
    if (bit_count_ >= 8) {  // bytes read ahead come first
      destination[copied++] = ReadByte();
      --stored_remaining_;
    } else {
      if (input_position_ == input_end_ && !FetchInput()) throw AbortError{};
      std::size_t count = std::min(
          {std::size_t{stored_remaining_}, wanted - copied, static_cast<std::size_t>(input_end_ - input_position_)});
      std::memcpy(destination + copied, input_position_, count);
      input_position_ += count;
      copied += count;
      stored_remaining_ -= static_cast<std::uint32_t>(count);
    }
    if (stored_remaining_ == 0) EndBlock();
  }
  KeepInWindow(destination, copied);
  return copied;
}

void InflateState::KeepInWindow(const std::uint8_t* bytes, std::size_t count) {
  if (count >= kWindowSize) {
    std::memcpy(history_, bytes + count - kWindowSize, kWindowSize);
    write_ = read_ = kWindowSize;
    return;
  }
  if (write_ + count > kDecodeLimit) SlideWindow();
  std::memcpy(history_ + write_, bytes, count);
  write_ = read_ = write_ + count;
}

// Decodes symbols until `stop` or the end of the block (true).
bool InflateState::DecodeCodes(std::size_t stop) {
  while (write_ < stop) {
    if (input_end_ - input_position_ >= kFastInputMargin) {
      if (DecodeFast(stop)) return true;
      continue;
    }
    std::uint32_t entry = DecodeSymbol(literal_table_, kLiteralRootBits);
    if (entry & huffman::kLiteral) {
      history_[write_++] = static_cast<std::uint8_t>(huffman::Value(entry));
      continue;
    }
    if (entry & huffman::kEndOfBlock) return true;
    std::size_t length = huffman::Value(entry) + ReadBits(huffman::TotalBits(entry) - huffman::CodeBits(entry));
    entry = DecodeSymbol(distance_table_, kDistanceRootBits);
    std::size_t distance = huffman::Value(entry) + ReadBits(huffman::TotalBits(entry) - huffman::CodeBits(entry));
    // Byte by byte: a match may overlap its own output.
    for (std::size_t i = 0; i < length; ++i) history_[write_ + i] = history_[write_ - distance + i];
    write_ += length;
  }
  return false;
}
