#include "log/time_stamp.h"

#include "text/number.h"
#include "text/text.h"

DateFormat DateFormatFromLocale(const char* separator, const char* order) {
  DateFormat format;
  if (separator != nullptr && separator[0] != '\0') format.separator = separator[0];
  if (order != nullptr && order[0] >= '0' && order[0] <= '2')
    format.order = static_cast<DateFormat::Order>(order[0] - '0');
  return format;
}

TimeStamp FormatTimeStamp(const DateFormat& format, const LocalTime& time) {
  struct Field {
    std::uint16_t value;
    int digits;
  };
  const Field day{time.day, 2}, month{time.month, 2}, year{time.year, 4};
  Field date[3] = {day, month, year};
  if (format.order == DateFormat::kMonthDayYear) {
    date[0] = month, date[1] = day;
  } else if (format.order == DateFormat::kYearMonthDay) {
    date[0] = year, date[2] = day;
  }
  const char separator[] = {format.separator, '\0'};
  TimeStamp stamp;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) AppendText(stamp, separator);
    AppendPaddedDecimal(stamp, date[i].value, date[i].digits);
  }
  AppendText(stamp, "  ");
  AppendPaddedDecimal(stamp, time.hour, 2);
  AppendText(stamp, ":");
  AppendPaddedDecimal(stamp, time.minute, 2);
  AppendText(stamp, ":");
  AppendPaddedDecimal(stamp, time.second, 2);
  return stamp;
}
