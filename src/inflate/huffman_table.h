// Canonical Huffman codes as lookup tables.
//
// A table is indexed by the next input bits, the first bit in bit 0. Its main
// part has 2^root_bits entries; a code longer than root_bits goes through a
// link entry to a subtable indexed by the bits after the first root_bits. So
// one symbol costs one or two lookups instead of one step per bit.
//
// Each entry packs into one u32 what the decoder needs next:
//   bits 0-3    code bits to drop (a link: root_bits; an invalid entry: the
//               index bits that select it)
//   bits 4-8    code bits plus the symbol's extra bits (a link: the
//               subtable's index bits)
//   bits 12-15  kind: literal, link, end of block, invalid, or none of these
//               (a length, distance or code-length symbol)
//   bits 16-31  value: the literal byte, the length or distance base, the
//               code-length symbol, or where a link's subtable starts
//
// Code lengths are taken as they come: an incomplete code leaves invalid
// entries, and where a code is over-subscribed its codes are still given out
// in canonical order, those that no longer fit in their length being
// unreachable. Decoding a bit sequence thus gives the same symbol as walking
// the canonical code bit by bit would.
#pragma once

#include <cstddef>
#include <cstdint>

namespace huffman {

constexpr unsigned kMaxCodeBits = 15;

constexpr std::uint32_t kLiteral = 1u << 12;
constexpr std::uint32_t kLink = 1u << 13;
constexpr std::uint32_t kEndOfBlock = 1u << 14;
constexpr std::uint32_t kInvalid = 1u << 15;

constexpr unsigned CodeBits(std::uint32_t entry) { return entry & 0xF; }
constexpr unsigned TotalBits(std::uint32_t entry) { return (entry >> 4) & 0x1F; }
constexpr unsigned Value(std::uint32_t entry) { return entry >> 16; }

// A symbol's entry before its code is known: the builder adds the code bits.
constexpr std::uint32_t SymbolEntry(unsigned value, unsigned extra_bits, std::uint32_t kind) {
  return (static_cast<std::uint32_t>(value) << 16) | kind | (extra_bits << 4);
}

// Entries a table for `symbols` symbols may need. Each subtable belongs to
// the longest code under its prefix; the codes of one length are contiguous,
// so n codes of length L reach at most n * 2^(15-L) / 2^(15-root) + 2
// prefixes, whose subtables take 2^(L-root) entries each. Summed over L, the
// subtables need at most symbols + 2^(17-root) - 4 entries.
constexpr std::size_t TableCapacity(unsigned root_bits, std::size_t symbols) {
  return (std::size_t{1} << root_bits) + symbols + (std::size_t{1} << (17 - root_bits)) - 4;
}

// Builds the table of the code given by `lengths` (one per symbol, 0 for an
// unused symbol). `symbol_entries` holds each symbol's SymbolEntry. Raises
// AbortError if the table would not fit `capacity`, which TableCapacity
// rules out.
void BuildTable(const std::uint8_t* lengths, std::size_t count, const std::uint32_t* symbol_entries, unsigned root_bits,
                std::uint32_t* table, std::size_t capacity);

}  // namespace huffman
