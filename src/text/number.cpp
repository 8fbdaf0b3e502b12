#include "text/number.h"

#include "text/text.h"

namespace {

// Writes `magnitude` in decimal, optionally grouped, behind an optional sign.
bool WriteDecimal(TextBuffer out, std::uint32_t magnitude, bool negative, bool group) {
  char digits[16];  // 10 digits, 3 apostrophes, a sign, the NUL
  char* p = digits + sizeof digits;
  *--p = '\0';
  int count = 0;
  do {
    if (group && count > 0 && count % 3 == 0) *--p = '\'';
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    ++count;
  } while (magnitude != 0);
  if (negative) *--p = '-';
  return CopyText(out, p);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::size_t DecimalText(TextBuffer out, std::uint16_t value) {
  WriteDecimal(out, value, false, false);
  std::size_t count = 0;
  while (out.chars[count] != '\0') ++count;
  return count;
}

bool AppendDecimal(TextBuffer out, std::uint16_t value) {
  char digits[8];
  WriteDecimal(TextBuffer{digits, sizeof digits}, value, false, false);
  return AppendText(out, digits);
}

bool AppendPaddedDecimal(TextBuffer out, std::uint32_t value, int digits) {
  char padded[11] = {};
  if (digits > 10) digits = 10;
  for (int i = digits - 1; i >= 0; --i, value /= 10) padded[i] = static_cast<char>('0' + value % 10);
  return AppendText(out, padded);
}

bool IntegerToText(TextBuffer out, std::int32_t value, bool group) {
  bool negative = value < 0;
  std::uint32_t magnitude = negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return WriteDecimal(out, magnitude, negative, group);
}

bool UnsignedToText(TextBuffer out, std::uint32_t value, bool group) { return WriteDecimal(out, value, false, group); }

bool ParseInteger(const char* text, std::int32_t& value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  bool negative = *p == '-';
  if (negative) ++p;
  while (IsBlank(*p)) ++p;
  std::uint64_t magnitude = 0;
  int digits = 0;
  while (*p >= '0' && *p <= '9') {
    if (++digits > 10) return false;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
    ++p;
  }
  while (IsBlank(*p)) ++p;
  if (digits == 0 || *p != '\0') return false;
  if (magnitude > (negative ? 2147483648ull : 2147483647ull)) return false;
  std::int64_t signed_value = static_cast<std::int64_t>(magnitude);
  value = static_cast<std::int32_t>(negative ? -signed_value : signed_value);
  return true;
}
