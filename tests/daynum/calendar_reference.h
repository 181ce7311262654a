// A second, independent calendar for checking day numbers: the Julian day
// number formula of Fliegel and Van Flandern (1968), with month lengths and
// weekdays derived from it rather than from a leap-year rule.
#pragma once

#include <stdint.h>

namespace tms::testing {

// Days since 1 January 4713 BC (Julian calendar) of a Gregorian date.
inline int64_t JulianDayNumber(int64_t year, int64_t month, int64_t day) {
  const int64_t januaryOrFebruary = (month - 14) / 12;  // -1 for them, else 0
  return (1461 * (year + 4800 + januaryOrFebruary)) / 4 +
         (367 * (month - 2 - 12 * januaryOrFebruary)) / 12 -
         (3 * ((year + 4900 + januaryOrFebruary) / 100)) / 4 + day - 32075;
}

inline int64_t DaysInMonthReference(int64_t year, int64_t month) {
  const int64_t nextYear = month == 12 ? year + 1 : year;
  const int64_t nextMonth = month == 12 ? 1 : month + 1;
  return JulianDayNumber(nextYear, nextMonth, 1) - JulianDayNumber(year, month, 1);
}

// 0 for Sunday, as in a date record.
inline int64_t DayOfWeekReference(int64_t year, int64_t month, int64_t day) {
  return (JulianDayNumber(year, month, day) + 1) % 7;
}

}  // namespace tms::testing
