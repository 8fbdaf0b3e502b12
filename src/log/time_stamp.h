// The time stamp that begins every log line: the date in the user's locale
// order and separator, two blanks, the time as HH:MM:SS (20 characters).
#pragma once

#include <cstdint>

#include "text/fixed_text.h"

struct DateFormat {
  enum Order : std::uint8_t { kMonthDayYear = 0, kDayMonthYear = 1, kYearMonthDay = 2 };
  char separator = '.';
  Order order = kDayMonthYear;
};

struct LocalTime {
  std::uint16_t year, month, day, hour, minute, second;
};

using TimeStamp = FixedText<20>;

// From the locale's short-date separator and order texts (LOCALE_SDATE and
// LOCALE_IDATE); either may be empty or null when the locale has none.
DateFormat DateFormatFromLocale(const char* separator, const char* order);
TimeStamp FormatTimeStamp(const DateFormat& format, const LocalTime& time);
