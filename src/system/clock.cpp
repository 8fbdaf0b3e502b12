#include "system/clock.h"

#include <windows.h>

LocalTime LocalTimeNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

DateFormat UserDateFormat() {
  char separator[8] = "";
  char order[4] = "";
  LCID locale = GetUserDefaultLCID();
  if (GetLocaleInfoA(locale, LOCALE_SDATE, separator, sizeof separator) == 0) separator[0] = '\0';
  if (GetLocaleInfoA(locale, LOCALE_IDATE, order, sizeof order) == 0) order[0] = '\0';
  return DateFormatFromLocale(separator, order);
}
