// Fuzzes day numbers with random date records: years, months and days near
// every limit and anywhere, with any time of day and day of the week. Each
// record lives in a heap block of its exact size. The day number must be
// that of an independent calendar (0 for invalid and early dates), the time
// fields must leave at 0 and the rest of the record untouched; today's day
// number must be that of the clock's date; and the clock's tick count of a
// valid date and time must be the calendar's.
#include <stdint.h>

#include <memory>

#include "daynum/calendar_reference.h"
#include "daynum/day_number.h"
#include "fakes/scripted_clock.h"
#include "fuzz/fuzz_input.h"
#include "platform/clock.h"

namespace {

using tms::DateRecord;
using tms::fuzz::Check;
using tms::fuzz::FuzzInput;
using tms::testing::DayNumberReference;
using tms::testing::DaysInMonthReference;
using tms::testing::JulianDayNumber;

uint16_t PickYear(FuzzInput& input) {
  switch (input.Byte() % 4) {
    case 0:
      return static_cast<uint16_t>(1595 + input.Count(20));  // around the first year
    case 1:
      return static_cast<uint16_t>(1995 + input.Count(120));  // the years hosts use
    case 2:
      return static_cast<uint16_t>(30820 + input.Count(20));  // around the last year
    default:
      return input.Unit();
  }
}

DateRecord PickRecord(FuzzInput& input) {
  DateRecord record;
  record.year = PickYear(input);
  record.month = input.Flag() ? static_cast<uint16_t>(input.Count(13)) : input.Unit();
  record.dayOfWeek = input.Unit();
  record.day = input.Flag() ? static_cast<uint16_t>(input.Count(32)) : input.Unit();
  record.hour = input.Unit();
  record.minute = input.Unit();
  record.second = input.Unit();
  record.milliseconds = input.Unit();
  return record;
}

void CheckDayNumber(const DateRecord& original) {
  auto record = std::make_unique<DateRecord>(original);
  const int32_t result = tms::DayNumber(tms::platform::SystemClock(), record.get());
  Check(result == DayNumberReference(original.year, original.month, original.day));
  Check(record->year == original.year && record->month == original.month &&
        record->day == original.day && record->dayOfWeek == original.dayOfWeek);
  Check(record->hour == 0 && record->minute == 0 && record->second == 0 &&
        record->milliseconds == 0);
}

void CheckToday(const DateRecord& now, bool refuseConversions) {
  tms::testing::ScriptedClock clock;
  clock.SetNow(now);
  clock.RefuseConversions(refuseConversions);
  const int32_t expected =
      refuseConversions ? 0 : DayNumberReference(now.year, now.month, now.day);
  Check(tms::TodayDayNumber(clock) == expected);
}

bool IsValidReference(const DateRecord& record) {
  return record.year >= 1601 && record.year <= 30827 && record.month >= 1 &&
         record.month <= 12 && record.day >= 1 &&
         record.day <= DaysInMonthReference(record.year, record.month);
}

// Date validation agrees with the calendar, and the clock's ticks of a
// valid date at a valid time of day are the calendar's.
void CheckTicks(const DateRecord& original) {
  DateRecord record = original;
  record.hour %= 24;
  record.minute %= 60;
  record.second %= 60;
  record.milliseconds %= 1000;
  Check(tms::IsValidDate(record) == IsValidReference(record));
  if (!IsValidReference(record)) return;
  const int64_t days = JulianDayNumber(record.year, record.month, record.day) -
                       JulianDayNumber(1601, 1, 1);
  const int64_t milliseconds =
      ((int64_t{record.hour} * 60 + record.minute) * 60 + record.second) * 1000 +
      record.milliseconds;
  int64_t ticks = -1;
  Check(tms::platform::SystemClock().DateToTicks(record, &ticks));
  Check(ticks == days * tms::kTicksPerDay + milliseconds * 10000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  Check(tms::DayNumber(tms::platform::SystemClock(), nullptr) == 0);
  while (!input.empty()) {
    const DateRecord record = PickRecord(input);
    CheckDayNumber(record);
    CheckToday(record, input.Byte() % 8 == 0);
    CheckTicks(record);
  }
  return 0;
}
