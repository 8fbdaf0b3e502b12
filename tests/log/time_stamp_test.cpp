// Guards the log line's time stamp: the locale's date order and separator,
// and the defaults when the locale has none.
#include <gtest/gtest.h>

#include "log/time_stamp.h"

TEST(TimeStamp, FollowsTheLocalesOrderAndSeparator) {
  const LocalTime time{2026, 12, 7, 17, 5, 9};
  struct Case {
    const char* separator;
    const char* order;
    const char* stamp;
  };
  const Case cases[] = {
      {".", "1", "07.12.2026  17:05:09"}, {"/", "0", "12/07/2026  17:05:09"},     {"-", "2", "2026-12-07  17:05:09"},
      {"", "", "07.12.2026  17:05:09"},   {nullptr, "9", "07.12.2026  17:05:09"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(FormatTimeStamp(DateFormatFromLocale(c.separator, c.order), time).c_str(), c.stamp);
  }
  EXPECT_STREQ(FormatTimeStamp(DateFormat{}, LocalTime{999, 1, 2, 0, 0, 0}).c_str(), "02.01.0999  00:00:00");
}
