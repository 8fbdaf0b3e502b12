// The alphabets of RFC 1951 as Huffman table entries: what each
// literal/length, distance and code-length symbol means, with the length and
// distance bases and extra bits exactly as the RFC lists them.
#pragma once

#include <array>
#include <cstdint>

namespace deflate_format {

constexpr unsigned kLiteralLengthSymbols = 288;
constexpr unsigned kDistanceSymbols = 32;
constexpr unsigned kCodeLengthSymbols = 19;

// Symbols 286 and 287 and distances 30 and 31 have codes but no meaning:
// their entries are invalid, so decoding them is a data error.
extern const std::array<std::uint32_t, kLiteralLengthSymbols> kLiteralLengthEntries;
extern const std::array<std::uint32_t, kDistanceSymbols> kDistanceEntries;
extern const std::array<std::uint32_t, kCodeLengthSymbols> kCodeLengthEntries;

// The order in which a dynamic block header lists the code-length code lengths.
extern const std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder;

// The code lengths of the fixed codes (block type 1).
extern const std::array<std::uint8_t, kLiteralLengthSymbols> kFixedLiteralLengthLengths;
extern const std::array<std::uint8_t, kDistanceSymbols> kFixedDistanceLengths;

}  // namespace deflate_format
