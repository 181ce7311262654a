// The system clock: tick counts of dates and times, and the local date.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include "daynum/calendar_reference.h"
#include "daynum/day_number.h"

namespace tms {
namespace {

TEST(SystemClock, ConvertsDatesAndTimesToTicksSince1601) {
  const struct {
    DateRecord date;
    int64_t ticks;
  } rows[] = {
      // year, month, day of week, day, hour, minute, second, milliseconds
      {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
      {{1601, 1, 1, 1, 0, 0, 0, 1}, 10000},
      {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000},
      {{2000, 2, 2, 29, 23, 59, 59, 999}, 125963423999990000},
      {{2000, 7, 4, 27, 0, 0, 0, 0}, 126091296000000000},
      {{9999, 12, 5, 31, 23, 59, 59, 999}, 2650467743999990000},
      {{30827, 12, 0, 31, 0, 0, 0, 0},
       (testing::JulianDayNumber(30827, 12, 31) - testing::JulianDayNumber(1601, 1, 1)) *
           kTicksPerDay},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message()
                 << row.date.year << "-" << row.date.month << "-" << row.date.day);
    int64_t ticks = -1;
    EXPECT_TRUE(platform::SystemClock().DateToTicks(row.date, &ticks));
    EXPECT_EQ(ticks, row.ticks);
  }
}

TEST(SystemClock, ReadsAPresentDateWithItsWeekday) {
  DateRecord now = {};
  platform::SystemClock().ReadLocalTime(&now);
  EXPECT_TRUE(IsValidDate(now));
  EXPECT_GE(now.year, 2024);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LT(now.second, 60);
  EXPECT_LT(now.milliseconds, 1000);
  EXPECT_EQ(now.dayOfWeek, testing::DayOfWeekReference(now.year, now.month, now.day));
}

}  // namespace
}  // namespace tms
