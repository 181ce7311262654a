// Day numbers: known dates, invalid records, the clearing of the time
// fields, today's date, and whole months of days against an independent
// calendar.
#include "daynum/day_number.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "daynum/calendar_reference.h"
#include "daynum/day_number_cases.h"
#include "fakes/scripted_clock.h"

namespace tms {
namespace {

using testing::DayNumberCase;
using testing::ScriptedClock;

constexpr uint16_t kOddDayOfWeek = 0xBEEF;  // never a real weekday

// Time fields out of any range: they are cleared, never validated.
DateRecord LateOn(uint16_t year, uint16_t month, uint16_t day) {
  return {year, month, kOddDayOfWeek, day, 0xFFFF, 60, 61, 1000};
}

// The date fields and the day of the week as given, the time at midnight.
void ExpectMidnightOf(const DateRecord& record, uint16_t year, uint16_t month, uint16_t day) {
  EXPECT_EQ(record.year, year);
  EXPECT_EQ(record.month, month);
  EXPECT_EQ(record.day, day);
  EXPECT_EQ(record.dayOfWeek, kOddDayOfWeek);
  EXPECT_EQ(record.hour + record.minute + record.second + record.milliseconds, 0);
}

// Invalid records are turned away before the conversion, which may be
// lenient: some systems convert 29 February 2001 or the year 30828.
TEST(DayNumber, KnownDatesClearTheTimeAndConvertOnlyValidDates) {
  for (const DayNumberCase& row : testing::kDayNumberCases) {
    SCOPED_TRACE(row.name);
    ScriptedClock clock;
    DateRecord record = LateOn(row.year, row.month, row.day);
    EXPECT_EQ(DayNumber(clock, &record), row.expected);
    ExpectMidnightOf(record, row.year, row.month, row.day);
    EXPECT_EQ(clock.conversions(), row.validDate ? 1 : 0);
  }
  ScriptedClock clock;
  EXPECT_EQ(DayNumber(clock, nullptr), 0);
  EXPECT_EQ(clock.conversions(), 0);
}

TEST(DayNumber, TodayNumbersTheLocalDate) {
  const struct {
    const char* name;
    DateRecord now;
    int32_t expected;
    bool refused = false;
  } rows[] = {
      // year, month, day of week, day, hour, minute, second, milliseconds
      {"afternoon", {2001, 1, 1, 1, 13, 45, 10, 500}, 159},
      {"last millisecond of the epoch", {2000, 7, 4, 27, 23, 59, 59, 999}, 1},
      {"before the epoch", {2000, 7, 3, 26, 12, 0, 0, 0}, 0},
      {"clock unreadable", {}, 0},
      {"conversion refused", {2001, 1, 1, 1, 13, 45, 10, 500}, 0, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedClock clock;
    clock.SetNow(row.now);
    clock.RefuseConversions(row.refused);
    EXPECT_EQ(TodayDayNumber(clock), row.expected);
  }
}

// Against the real clock. Midnight may pass during the call, so the local
// date is read before and after and either is accepted.
TEST(DayNumber, TodayAgreesWithTheLocalDateOfTheSystemClock) {
  platform::Clock& clock = platform::SystemClock();
  DateRecord before;
  clock.ReadLocalTime(&before);
  const int32_t today = TodayDayNumber(clock);
  DateRecord after;
  clock.ReadLocalTime(&after);
  const int32_t numberBefore = DayNumber(clock, &before);
  const int32_t numberAfter = DayNumber(clock, &after);
  EXPECT_GT(numberBefore, 8000);  // later than 2022
  EXPECT_TRUE(today == numberBefore || today == numberAfter)
      << today << " is neither " << numberBefore << " nor " << numberAfter;
}

// Days 0 to 32 of every month around the epoch, and of February and March
// in every century year (29 February exists only when the year divides by
// 400), through the system's own conversion, against the Julian day number
// formula; only the dates that formula knows are converted.
TEST(DayNumber, AgreesWithAnIndependentCalendar) {
  std::vector<std::pair<uint16_t, uint16_t>> months;
  for (uint16_t year = 1999; year <= 2001; ++year) {
    for (uint16_t month = 1; month <= 12; ++month) months.emplace_back(year, month);
  }
  for (uint16_t year = 1700; year <= 30800; year += 100) {
    months.emplace_back(year, 2);
    months.emplace_back(year, 3);
  }
  for (const auto& [year, month] : months) {
    for (uint16_t day = 0; day <= 32; ++day) {
      SCOPED_TRACE(::testing::Message() << year << "-" << month << "-" << day);
      ScriptedClock clock;
      DateRecord record = LateOn(year, month, day);
      const bool valid = day >= 1 && day <= testing::DaysInMonthReference(year, month);
      const int64_t number =
          testing::JulianDayNumber(year, month, day) - testing::JulianDayNumber(2000, 7, 27) + 1;
      EXPECT_EQ(DayNumber(clock, &record), valid && number > 0 ? number : 0);
      EXPECT_EQ(clock.conversions(), valid ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace tms
