// Case-insensitive comparison through one fixed upper-case table. Only the
// ASCII letters and the 28 accented lower-case bytes listed below are folded;
// every other byte maps to itself (the other ANSI lower-case accented letters
// included, as the setup has always compared them).
#pragma once

struct CaseFoldTable {
  unsigned char map[256];

  constexpr CaseFoldTable() : map() {
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) map[c] = static_cast<unsigned char>(c - 'a' + 'A');
    constexpr unsigned char kPairs[][2] = {
        {0x81, 0xDC}, {0x82, 0xC9}, {0x83, 0xC2}, {0x84, 0xC4}, {0x85, 0xC0}, {0x86, 0xC5}, {0x87, 0xC7},
        {0x88, 0xCA}, {0x89, 0xCB}, {0x8A, 0xC8}, {0x8B, 0xCF}, {0x8C, 0xCE}, {0x8D, 0xCC}, {0x91, 0xC6},
        {0x93, 0xD4}, {0x94, 0xD6}, {0x95, 0xD2}, {0x96, 0xDB}, {0x97, 0xD9}, {0x9B, 0xD8}, {0xA0, 0xC1},
        {0xA1, 0xCD}, {0xA2, 0xD3}, {0xA3, 0xDA}, {0xA4, 0xD1}, {0xC6, 0xC3}, {0xE4, 0xD5}, {0xEC, 0xDD},
    };
    for (const auto& pair : kPairs) map[pair[0]] = pair[1];
  }
};

inline constexpr CaseFoldTable kCaseFold{};

inline unsigned char FoldCase(char c) { return kCaseFold.map[static_cast<unsigned char>(c)]; }

// Equality after folding both sides; used for file names, extensions,
// product names and paths everywhere in the program.
bool EqualIgnoringCase(const char* a, const char* b);
bool StartsWithIgnoringCase(const char* text, const char* prefix);
