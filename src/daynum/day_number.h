// Day numbers: 27 July 2000 is day 1, each later calendar day one more.
#pragma once

#include "platform/clock.h"
#include "platform/types.h"

namespace tms {

// The first and the last year a date record may name.
constexpr uint16_t kFirstDateYear = 1601;
constexpr uint16_t kLastDateYear = 30827;

// True for a date of the Gregorian calendar from 1 January 1601 through
// 31 December 30827: month 1 to 12, day within that month (29 February only
// in leap years). The time fields and the day of the week are not looked at.
bool IsValidDate(const DateRecord& date);

// The day number of the date that `date` names, with its time of day
// ignored: 1 for 27 July 2000, 0 for null, for an earlier date and for a
// record that is not a valid date. Unless `date` is null, its hour, minute,
// second and milliseconds leave at 0 whatever the result; its date fields
// and day of the week are left alone. Example: 1 January 2001 at 13:45 gives
// 159 and leaves the record at 1 January 2001, 00:00:00.000.
int32_t DayNumber(platform::Clock& clock, DateRecord* date);

// The day number of today's date in the local time zone.
int32_t TodayDayNumber(platform::Clock& clock);

}  // namespace tms
