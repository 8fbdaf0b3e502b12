// Decimal numbers as texts, and the strict integer parser.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/fixed_text.h"

// The value in decimal without leading zeros; returns the digit count.
std::size_t DecimalText(TextBuffer out, std::uint16_t value);
// Appends the decimal digits of `value` to the text in `out`.
bool AppendDecimal(TextBuffer out, std::uint16_t value);
// Appends exactly `digits` (at most 10) decimal digits: the lowest of
// `value`, with leading zeros ("0999" for 999 in 4, "05" for 5 in 2).
bool AppendPaddedDecimal(TextBuffer out, std::uint32_t value, int digits);
// Decimal with a leading "-" for negative values; with `group`, an
// apostrophe between groups of three digits (1'234'567).
bool IntegerToText(TextBuffer out, std::int32_t value, bool group);
bool UnsignedToText(TextBuffer out, std::uint32_t value, bool group);
// Accepts blanks and tabs, an optional "-", blanks and tabs, 1 to 10 digits,
// blanks and tabs, and the end; the value must fit in a signed 32-bit integer.
bool ParseInteger(const char* text, std::int32_t& value);
