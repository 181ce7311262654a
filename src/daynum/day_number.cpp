// Day numbers from the tick counts of the system clock.
#include "daynum/day_number.h"

namespace tms {
namespace {

// Ticks of 27 July 2000, 00:00, which is 145 939 days after 1 January 1601.
constexpr int64_t kEpochTicks = 145939 * kTicksPerDay;
static_assert(kEpochTicks == 126091296000000000, "ticks of 27 July 2000");

constexpr uint16_t kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeapYear(uint32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

uint16_t DaysInMonth(uint16_t year, uint16_t month) {
  return month == 2 && IsLeapYear(year) ? 29 : kDaysInMonth[month - 1];
}

}  // namespace

bool IsValidDate(const DateRecord& date) {
  if (date.year < kFirstDateYear || date.year > kLastDateYear) return false;
  if (date.month < 1 || date.month > 12) return false;
  return date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

int32_t DayNumber(platform::Clock& clock, DateRecord* date) {
  if (date == nullptr) return 0;
  date->hour = 0;
  date->minute = 0;
  date->second = 0;
  date->milliseconds = 0;
  // Checked here rather than left to the system's conversion, which on some
  // systems accepts 29 February of any year or years past 30827.
  if (!IsValidDate(*date)) return 0;
  int64_t ticks = 0;
  if (!clock.DateToTicks(*date, &ticks) || ticks < kEpochTicks) return 0;
  // Both counts fall on a midnight, so the division is exact.
  return static_cast<int32_t>((ticks - kEpochTicks) / kTicksPerDay + 1);
}

int32_t TodayDayNumber(platform::Clock& clock) {
  DateRecord today;
  clock.ReadLocalTime(&today);
  return DayNumber(clock, &today);
}

}  // namespace tms
