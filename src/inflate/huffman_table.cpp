// Builds Huffman lookup tables from code lengths (see huffman_table.h).
#include "inflate/huffman_table.h"

#include "log/abort_error.h"

namespace huffman {
namespace {

constexpr std::size_t kMaxSymbols = 288;

struct Code {
  std::uint16_t symbol;
  std::uint8_t length;
  // The code with its bits reversed: the table index of its first bits.
  std::uint16_t reversed;
};

std::uint16_t Reverse(unsigned code, unsigned length) {
  unsigned reversed = 0;
  for (unsigned i = 0; i < length; ++i) {
    reversed = (reversed << 1) | (code & 1);
    code >>= 1;
  }
  return static_cast<std::uint16_t>(reversed);
}

// Gives out the canonical codes: by length, then by symbol value. Returns how
// many fit; once a code no longer fits in its length, neither does any later
// one, so the reachable codes are exactly the ones returned.
std::size_t AssignCodes(const std::uint8_t* lengths, std::size_t count, Code* codes) {
  unsigned per_length[kMaxCodeBits + 1] = {};
  for (std::size_t symbol = 0; symbol < count; ++symbol) ++per_length[lengths[symbol]];

  unsigned next_slot[kMaxCodeBits + 1];
  unsigned slot = 0;
  for (unsigned length = 1; length <= kMaxCodeBits; ++length) {
    next_slot[length] = slot;
    slot += per_length[length];
  }
  std::uint16_t sorted[kMaxSymbols];
  for (std::size_t symbol = 0; symbol < count; ++symbol) {
    if (lengths[symbol] != 0) sorted[next_slot[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
  }

  std::size_t assigned = 0;
  unsigned code = 0;
  for (unsigned length = 1; length <= kMaxCodeBits; ++length) {
    for (unsigned i = 0; i < per_length[length]; ++i, ++code) {
      if (code >= (1u << length)) return assigned;
      codes[assigned] = Code{sorted[assigned], static_cast<std::uint8_t>(length), Reverse(code, length)};
      ++assigned;
    }
    code <<= 1;
  }
  return assigned;
}

std::uint32_t WithCodeBits(std::uint32_t entry, unsigned bits) { return entry + bits + (bits << 4); }

void Fill(std::uint32_t* table, unsigned index_bits, unsigned first, unsigned code_bits, std::uint32_t entry) {
  for (unsigned index = first; index < (1u << index_bits); index += 1u << code_bits) table[index] = entry;
}

}  // namespace

void BuildTable(const std::uint8_t* lengths, std::size_t count, const std::uint32_t* symbol_entries, unsigned root_bits,
                std::uint32_t* table, std::size_t capacity) {
  Code codes[kMaxSymbols];
  std::size_t code_count = AssignCodes(lengths, count, codes);

  const unsigned root_size = 1u << root_bits;
  const unsigned root_mask = root_size - 1;
  for (unsigned index = 0; index < root_size; ++index) table[index] = kInvalid | root_bits;

  std::size_t next_subtable = root_size;
  std::size_t i = 0;
  while (i < code_count) {
    const Code& first = codes[i];
    if (first.length <= root_bits) {
      Fill(table, root_bits, first.reversed, first.length, WithCodeBits(symbol_entries[first.symbol], first.length));
      ++i;
      continue;
    }
    // The codes under one prefix follow each other, shortest first, so the
    // last of them sets the subtable's size.
    const unsigned prefix = first.reversed & root_mask;
    std::size_t end = i;
    while (end < code_count && (codes[end].reversed & root_mask) == prefix) ++end;
    const unsigned sub_bits = codes[end - 1].length - root_bits;
    const std::size_t sub_size = std::size_t{1} << sub_bits;
    if (sub_size > capacity - next_subtable) throw AbortError{};

    std::uint32_t* subtable = table + next_subtable;
    table[prefix] = (static_cast<std::uint32_t>(next_subtable) << 16) | kLink | (sub_bits << 4) | root_bits;
    for (std::size_t index = 0; index < sub_size; ++index) subtable[index] = kInvalid | sub_bits;
    for (; i < end; ++i) {
      const unsigned code_bits = codes[i].length - root_bits;
      Fill(subtable, sub_bits, codes[i].reversed >> root_bits, code_bits,
           WithCodeBits(symbol_entries[codes[i].symbol], code_bits));
    }
    next_subtable += sub_size;
  }
}

}  // namespace huffman
