// The system clock: the local date and time, and the tick count of a date.
#pragma once

#include "platform/types.h"

namespace tms {

// A calendar date and time of day, laid out field for field like the Win32
// SYSTEMTIME that hosts pass in: eight unsigned 16-bit fields, month 1 for
// January, day of the week 0 for Sunday.
struct DateRecord {
  uint16_t year;
  uint16_t month;
  uint16_t dayOfWeek;
  uint16_t day;
  uint16_t hour;
  uint16_t minute;
  uint16_t second;
  uint16_t milliseconds;
};
static_assert(sizeof(DateRecord) == 16, "DateRecord must keep the SYSTEMTIME layout");

// 100-nanosecond intervals in one day.
constexpr int64_t kTicksPerDay = 864000000000;

namespace platform {

class Clock {
 public:
  // The current date and time in the user's local time zone.
  virtual void ReadLocalTime(DateRecord* now) = 0;
  // Ticks (100 ns) since 1 January 1601, 00:00, of a record that names a
  // valid date and time; the caller validates first. False, with `ticks`
  // untouched, when the system rejects the record all the same.
  virtual bool DateToTicks(const DateRecord& date, int64_t* ticks) = 0;

 protected:
  ~Clock() = default;
};

// The operating system's clock.
Clock& SystemClock();

}  // namespace platform
}  // namespace tms
