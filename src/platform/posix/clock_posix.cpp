// POSIX clock: the real-time clock in the local time zone, and the proleptic
// Gregorian calendar for tick counts.
#include <time.h>

#include "platform/clock.h"

namespace tms::platform {
namespace {

// Days from 1 January 1601 to 1 January 1970.
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
// Counting years from 1 March puts the leap day at the end of a year, so
// whole 400-year eras (146097 days) and the month offsets come out regular.
int64_t DaysFrom1970(int64_t year, int64_t month, int64_t day) {
  if (month <= 2) --year;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
  const int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

class PosixClock final : public Clock {
 public:
  constexpr PosixClock() = default;

  void ReadLocalTime(DateRecord* now) override {
    *now = {};
    timespec instant = {};
    if (clock_gettime(CLOCK_REALTIME, &instant) != 0) return;
    // Pick up a changed TZ, as Windows follows a changed time zone.
    tzset();
    tm local = {};
    if (localtime_r(&instant.tv_sec, &local) == nullptr) return;
    now->year = static_cast<uint16_t>(local.tm_year + 1900);
    now->month = static_cast<uint16_t>(local.tm_mon + 1);
    now->dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    now->day = static_cast<uint16_t>(local.tm_mday);
    now->hour = static_cast<uint16_t>(local.tm_hour);
    now->minute = static_cast<uint16_t>(local.tm_min);
    // A leap second reads as the last ordinary second of its minute.
    now->second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    now->milliseconds = static_cast<uint16_t>(instant.tv_nsec / 1000000);
  }

  bool DateToTicks(const DateRecord& date, int64_t* ticks) override {
    const int64_t days = DaysFrom1970(date.year, date.month, date.day) + kDaysFrom1601To1970;
    const int64_t milliseconds =
        ((int64_t{date.hour} * 60 + date.minute) * 60 + date.second) * 1000 + date.milliseconds;
    *ticks = days * kTicksPerDay + milliseconds * 10000;
    return true;
  }
};

PosixClock systemClock;

}  // namespace

Clock& SystemClock() { return systemClock; }

}  // namespace tms::platform
