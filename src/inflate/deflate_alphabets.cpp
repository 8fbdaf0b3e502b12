// The RFC 1951 tables, turned into table entries at compile time.
#include "inflate/deflate_alphabets.h"

#include <array>
#include <cstddef>

#include "inflate/huffman_table.h"

namespace deflate_format {
namespace {

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                             33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

template <std::size_t N, typename Make>
constexpr std::array<std::uint32_t, N> MakeEntries(Make make) {
  std::array<std::uint32_t, N> entries{};
  for (std::size_t symbol = 0; symbol < N; ++symbol) entries[symbol] = make(static_cast<unsigned>(symbol));
  return entries;
}

}  // namespace

extern constexpr std::array<std::uint32_t, kLiteralLengthSymbols> kLiteralLengthEntries =
    MakeEntries<kLiteralLengthSymbols>([](unsigned symbol) {
      if (symbol < 256) return huffman::SymbolEntry(symbol, 0, huffman::kLiteral);
      if (symbol == 256) return huffman::SymbolEntry(0, 0, huffman::kEndOfBlock);
      if (symbol <= 285) return huffman::SymbolEntry(kLengthBase[symbol - 257], kLengthExtra[symbol - 257], 0);
      return huffman::SymbolEntry(0, 0, huffman::kInvalid);
    });

extern constexpr std::array<std::uint32_t, kDistanceSymbols> kDistanceEntries =
    MakeEntries<kDistanceSymbols>([](unsigned symbol) {
      if (symbol < 30) return huffman::SymbolEntry(kDistanceBase[symbol], kDistanceExtra[symbol], 0);
      return huffman::SymbolEntry(0, 0, huffman::kInvalid);
    });

extern constexpr std::array<std::uint32_t, kCodeLengthSymbols> kCodeLengthEntries =
    MakeEntries<kCodeLengthSymbols>([](unsigned symbol) { return huffman::SymbolEntry(symbol, 0, 0); });

extern constexpr std::array<std::uint8_t, kCodeLengthSymbols> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                                  11, 4,  12, 3, 13, 2, 14, 1, 15};

extern constexpr std::array<std::uint8_t, kLiteralLengthSymbols> kFixedLiteralLengthLengths = [] {
  std::array<std::uint8_t, kLiteralLengthSymbols> lengths{};
  for (unsigned symbol = 0; symbol < kLiteralLengthSymbols; ++symbol) {
    lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
  }
  return lengths;
}();

extern constexpr std::array<std::uint8_t, kDistanceSymbols> kFixedDistanceLengths = [] {
  std::array<std::uint8_t, kDistanceSymbols> lengths{};
  for (auto& length : lengths) length = 5;
  return lengths;
}();

}  // namespace deflate_format
