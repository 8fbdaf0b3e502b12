#include "log/time_stamp.h"

namespace {

char* PutDigits(char* p, unsigned value, int digits) {
  for (int i = digits - 1; i >= 0; --i) {
    p[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return p + digits;
}

}  // namespace

DateFormat DateFormatFromLocale(const char* separator, const char* order) {
  DateFormat format;
  if (separator != nullptr && separator[0] != '\0') format.separator = separator[0];
  if (order != nullptr && order[0] >= '0' && order[0] <= '2') format.order = static_cast<DateFormat::Order>(order[0] - '0');
  return format;
}

TimeStamp FormatTimeStamp(const DateFormat& format, const LocalTime& time) {
  char chars[21];
  char* p = chars;
  const char s = format.separator;
  switch (format.order) {
    case DateFormat::kMonthDayYear:
      p = PutDigits(p, time.month, 2), *p++ = s, p = PutDigits(p, time.day, 2), *p++ = s, p = PutDigits(p, time.year, 4);
      break;
    case DateFormat::kYearMonthDay:
      p = PutDigits(p, time.year, 4), *p++ = s, p = PutDigits(p, time.month, 2), *p++ = s, p = PutDigits(p, time.day, 2);
      break;
    case DateFormat::kDayMonthYear:
    default:
      p = PutDigits(p, time.day, 2), *p++ = s, p = PutDigits(p, time.month, 2), *p++ = s, p = PutDigits(p, time.year, 4);
      break;
  }
  *p++ = ' ';
  *p++ = ' ';
  p = PutDigits(p, time.hour, 2), *p++ = ':', p = PutDigits(p, time.minute, 2), *p++ = ':';
  p = PutDigits(p, time.second, 2);
  *p = '\0';
  return TimeStamp(chars);
}
