// Day numbers: known dates, invalid records, the clearing of the time
// fields, today's date, and a comparison with an independent calendar at
// every century and on seeded random records (day numbers, validation and
// the clock's ticks).
#include "daynum/day_number.h"

#include <gtest/gtest.h>

#include <random>

#include "daynum/calendar_reference.h"
#include "daynum/day_number_cases.h"
#include "fakes/scripted_clock.h"

namespace tms {
namespace {

using testing::DayNumberCase;
using testing::DayNumberReference;
using testing::ScriptedClock;

constexpr uint16_t kOddDayOfWeek = 0xBEEF;  // never a real weekday

DateRecord LateOn(uint16_t year, uint16_t month, uint16_t day) {
  return {year, month, kOddDayOfWeek, day, 23, 59, 59, 999};
}

// The date fields and the day of the week as given, the time at midnight.
void ExpectMidnightOf(const DateRecord& record, uint16_t year, uint16_t month, uint16_t day) {
  EXPECT_EQ(record.year, year);
  EXPECT_EQ(record.month, month);
  EXPECT_EQ(record.day, day);
  EXPECT_EQ(record.dayOfWeek, kOddDayOfWeek);
  EXPECT_EQ(record.hour, 0);
  EXPECT_EQ(record.minute, 0);
  EXPECT_EQ(record.second, 0);
  EXPECT_EQ(record.milliseconds, 0);
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

TEST(DayNumber, RefusedConversionGivesZeroAndStillClearsTheTime) {
  ScriptedClock clock;
  clock.RefuseConversions(true);
  DateRecord record = LateOn(2010, 1, 1);
  EXPECT_EQ(DayNumber(clock, &record), 0);
  ExpectMidnightOf(record, 2010, 1, 1);
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

// One record through the system's own conversion, against the Julian day
// number formula: the day number, the fields left as given and the time
// cleared, date validation, and the clock's ticks of the date at a valid
// time of day.
// `where` names the record in a failure message.
void CheckAgainstTheCalendar(platform::Clock& clock, const DateRecord& original, const char* where,
                             int index, int* numbered) {
  const uint16_t year = original.year, month = original.month, day = original.day;
  const auto named = [&] {
    return ::testing::Message() << year << "-" << month << "-" << day << " (" << where << " "
                                << index << ")";
  };
  DateRecord record = original;
  const int32_t expected = DayNumberReference(year, month, day);
  ASSERT_EQ(DayNumber(clock, &record), expected) << named();
  ASSERT_TRUE(record.year == year && record.month == month && record.day == day &&
              record.dayOfWeek == original.dayOfWeek)
      << "date fields changed, " << named();
  ASSERT_TRUE(record.hour == 0 && record.minute == 0 && record.second == 0 &&
              record.milliseconds == 0)
      << "time not cleared, " << named();
  if (expected != 0) ++*numbered;

  DateRecord timed = original;
  timed.hour %= 24;
  timed.minute %= 60;
  timed.second %= 60;
  timed.milliseconds %= 1000;
  const bool valid = year >= 1601 && year <= 30827 && month >= 1 && month <= 12 && day >= 1 &&
                     day <= testing::DaysInMonthReference(year, month);
  ASSERT_EQ(IsValidDate(timed), valid) << named();
  if (!valid) return;
  const int64_t milliseconds =
      ((int64_t{timed.hour} * 60 + timed.minute) * 60 + timed.second) * 1000 + timed.milliseconds;
  const int64_t days1601 =
      testing::JulianDayNumber(year, month, day) - testing::JulianDayNumber(1601, 1, 1);
  int64_t ticks = -1;
  ASSERT_TRUE(clock.DateToTicks(timed, &ticks)) << named();
  ASSERT_EQ(ticks, days1601 * kTicksPerDay + milliseconds * 10000) << named();
}

// The end of February and 1 March of every century year (29 February
// exists only when the year divides by 400), then tens of thousands of
// seeded records, valid and invalid.
TEST(DayNumber, AgreesWithAnIndependentCalendar) {
  platform::Clock& clock = platform::SystemClock();
  int numbered = 0;
  for (uint16_t year = 1700; year <= 30800; year += 100) {
    for (const DateRecord& record : {LateOn(year, 2, 28), LateOn(year, 2, 29), LateOn(year, 3, 1)}) {
      ASSERT_NO_FATAL_FAILURE(CheckAgainstTheCalendar(clock, record, "century", year, &numbered));
    }
  }

  constexpr unsigned kSeed = 20000727;
  std::mt19937 random(kSeed);
  // Years near the epoch, where most dates lie before it; near the last
  // year the clock takes; and over the whole range and a little beyond it
  // on both sides.
  std::uniform_int_distribution<int> nearYears(1590, 2110);
  std::uniform_int_distribution<int> lastYears(30815, 30840);
  std::uniform_int_distribution<int> allYears(1590, 30840);
  std::uniform_int_distribution<int> months(0, 13);
  std::uniform_int_distribution<int> days(0, 32);
  std::uniform_int_distribution<int> monthEnds(28, 31);
  std::uniform_int_distribution<int> anyField(0, 0xFFFF);
  numbered = 0;
  for (int i = 0; i < 60000; ++i) {
    const int band = i % 4;
    const auto year = static_cast<uint16_t>(band < 2   ? nearYears(random)
                                            : band == 2 ? lastYears(random)
                                                        : allYears(random));
    const auto month = static_cast<uint16_t>(months(random));
    const auto day = static_cast<uint16_t>(i % 3 == 0 ? monthEnds(random) : days(random));
    // A braced list draws its fields in order.
    const DateRecord record = {year,
                               month,
                               static_cast<uint16_t>(anyField(random)),
                               day,
                               static_cast<uint16_t>(anyField(random)),
                               static_cast<uint16_t>(anyField(random)),
                               static_cast<uint16_t>(anyField(random)),
                               static_cast<uint16_t>(anyField(random))};
    ASSERT_NO_FATAL_FAILURE(
        CheckAgainstTheCalendar(clock, record, "seed 20000727, record", i, &numbered));
  }
  // Both outcomes must have been well represented.
  EXPECT_GT(numbered, 15000);
  EXPECT_LT(numbered, 50000);
}

}  // namespace
}  // namespace tms
