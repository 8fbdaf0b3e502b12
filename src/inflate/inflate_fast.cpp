// The inner loop for compressed blocks, used while the input buffer holds at
// least 8 more bytes. Each round refills the bit buffer with one unaligned
// 8-byte load and no branch, which leaves at least 56 bits: enough for the
// longest length code with its extra bits (20) and the longest distance code
// with its extra bits (28). Matches are copied a word at a time where they
// do not overlap within a word; history_ has room for the overshoot.
#include <cstring>

#include "inflate/inflate_state.h"
#include "log/abort_error.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "The bit buffer loads input bytes as a little-endian word."
#endif

namespace {

std::uint64_t LoadWord(const std::uint8_t* from) {
  std::uint64_t word;
  std::memcpy(&word, from, sizeof word);
  return word;
}

void StoreWord(std::uint8_t* to, std::uint64_t word) { std::memcpy(to, &word, sizeof word); }

std::uint64_t LowBits(std::uint64_t bits, unsigned count) { return bits & ((std::uint64_t{1} << count) - 1); }

// The extra bits of a length or distance, which follow its code.
unsigned ExtraBits(std::uint64_t bits, std::uint32_t entry) {
  return static_cast<unsigned>(LowBits(bits, huffman::TotalBits(entry)) >> huffman::CodeBits(entry));
}

// Copies `length` bytes from `distance` bytes back. May write up to 24
// bytes from `to`, or up to 7 bytes beyond the end: most matches are short,
// and copying three words without asking spares the loop's branch.
void CopyMatch(std::uint8_t* to, std::size_t distance, std::size_t length) {
  const std::uint8_t* from = to - distance;
  std::uint8_t* const end = to + length;
  if (distance >= 8) {
    // Word by word, each load after the store before it: right also where
    // the match overlaps its own output by 8 bytes or more.
    StoreWord(to, LoadWord(from));
    StoreWord(to + 8, LoadWord(from + 8));
    StoreWord(to + 16, LoadWord(from + 16));
    to += 24;
    from += 24;
    while (to < end) {
      StoreWord(to, LoadWord(from));
      from += 8;
      to += 8;
    }
  } else if (distance == 1) {
    const std::uint64_t word = from[0] * std::uint64_t{0x0101010101010101};
    StoreWord(to, word);
    StoreWord(to + 8, word);
    StoreWord(to + 16, word);
    for (to += 24; to < end; to += 8) StoreWord(to, word);
  } else {
    do {
      *to++ = *from++;
    } while (to < end);
  }
}

}  // namespace

bool InflateState::DecodeFast(std::size_t stop) {
  using namespace huffman;
  constexpr std::uint64_t kLiteralMask = (1u << kLiteralRootBits) - 1;
  constexpr std::uint64_t kDistanceMask = (1u << kDistanceRootBits) - 1;

  const std::uint8_t* in = input_position_;
  const std::uint8_t* const in_end = input_end_;
  std::uint64_t bits = bits_;
  unsigned count = bit_count_;
  std::uint8_t* out = history_ + write_;
  std::uint8_t* const out_stop = history_ + stop;
  bool block_ended = false;

  auto may_go_on = [&] { return out < out_stop && in_end - in >= kFastInputMargin; };
  auto refill = [&] {
    bits |= LoadWord(in) << count;
    in += (63 - count) >> 3;
    count |= 56;
  };
  auto consume = [&](unsigned n) {
    bits >>= n;
    count -= n;
  };

  // Each round starts on a refilled bit buffer with `entry` looked up in it.
  std::uint32_t entry = 0;
  bool going = may_go_on();
  if (going) {
    refill();
    entry = literal_table_[bits & kLiteralMask];
  }
  while (going) {
    if (entry & kLink) {
      consume(kLiteralRootBits);
      entry = literal_table_[Value(entry) + LowBits(bits, TotalBits(entry))];
    }
    if (entry & kLiteral) {
      // Literal codes are at most 15 bits, so the refill covers two more
      // literals without a refill of their own. Room for these few bytes
      // beyond out_stop is part of the history's slack.
      *out++ = static_cast<std::uint8_t>(Value(entry));
      consume(CodeBits(entry));
      entry = literal_table_[bits & kLiteralMask];
      if (entry & kLiteral) {
        *out++ = static_cast<std::uint8_t>(Value(entry));
        consume(CodeBits(entry));
        entry = literal_table_[bits & kLiteralMask];
        if (entry & kLiteral) {
          *out++ = static_cast<std::uint8_t>(Value(entry));
          consume(CodeBits(entry));
        }
      }
      going = may_go_on();
      if (going) {
        refill();
        entry = literal_table_[bits & kLiteralMask];
      }
      continue;
    }
    if (entry & (kEndOfBlock | kInvalid)) {
      if (entry & kInvalid) throw AbortError{};
      consume(CodeBits(entry));
      block_ended = true;
      break;
    }
    std::size_t length = Value(entry) + ExtraBits(bits, entry);
    consume(TotalBits(entry));

    entry = distance_table_[bits & kDistanceMask];
    if (entry & kLink) {
      consume(kDistanceRootBits);
      entry = distance_table_[Value(entry) + LowBits(bits, TotalBits(entry))];
    }
    if (entry & kInvalid) throw AbortError{};
    std::size_t distance = Value(entry) + ExtraBits(bits, entry);
    consume(TotalBits(entry));

    // The next symbol's lookup goes before the copy, so the two overlap.
    std::uint8_t* const match = out;
    out += length;
    going = may_go_on();
    if (going) {
      refill();
      entry = literal_table_[bits & kLiteralMask];
    }
    CopyMatch(match, distance, length);
  }

  input_position_ = in;
  bits_ = bits;
  bit_count_ = count;
  write_ = static_cast<std::size_t>(out - history_);
  return block_ended;
}
