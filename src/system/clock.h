// The local time and the user's date format, for the log's time stamps.
#pragma once

#include "log/time_stamp.h"

LocalTime LocalTimeNow();
// The user default locale's short-date separator and order.
DateFormat UserDateFormat();
