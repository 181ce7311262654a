// Dates with known day numbers, shared by the unit tests and the stress tests
// of the real exports. Each record also carries a time of day that must be
// cleared.
#pragma once

#include <stdint.h>

namespace tms::testing {

struct DayNumberCase {
  const char* name;
  uint16_t year, month, day;
  int32_t expected;
  bool validDate;  // false: no conversion may be asked for
};

inline constexpr DayNumberCase kDayNumberCases[] = {
    {"epoch", 2000, 7, 27, 1, true},
    {"day after epoch", 2000, 7, 28, 2, true},
    {"day before epoch", 2000, 7, 26, 0, true},
    {"end of 2000", 2000, 12, 31, 158, true},
    {"start of 2001", 2001, 1, 1, 159, true},
    {"one year on", 2001, 7, 27, 366, true},
    {"after a leap day", 2004, 7, 27, 1462, true},
    {"2010", 2010, 1, 1, 3446, true},
    {"leap day 2004", 2004, 2, 29, 1313, true},
    {"after leap day 2004", 2004, 3, 1, 1314, true},
    {"leap day 2000, before epoch", 2000, 2, 29, 0, true},
    {"2100 not leap: 28 February", 2100, 2, 28, 36376, true},
    {"2100 not leap: 1 March", 2100, 3, 1, 36377, true},
    {"2100 not leap: 29 February", 2100, 2, 29, 0, false},
    {"2400 leap: 29 February", 2400, 2, 29, 145949, true},
    {"last valid date", 30827, 12, 31, 10529003, true},
    {"year 30828", 30828, 1, 1, 0, false},
    {"year 30829", 30829, 6, 15, 0, false},
    {"year 65535", 65535, 1, 1, 0, false},
    {"first valid date", 1601, 1, 1, 0, true},
    {"year 1600", 1600, 12, 31, 0, false},
    {"year 0", 0, 1, 1, 0, false},
    {"29 February 2001", 2001, 2, 29, 0, false},
    {"31 April 2005", 2005, 4, 31, 0, false},
    {"31 June 2005", 2005, 6, 31, 0, false},
    {"month 13", 2005, 13, 1, 0, false},
    {"month 0", 2005, 0, 1, 0, false},
    {"day 0", 2005, 5, 0, 0, false},
    {"day 32", 2005, 1, 32, 0, false},
    {"all zero", 0, 0, 0, 0, false},
};

}  // namespace tms::testing
