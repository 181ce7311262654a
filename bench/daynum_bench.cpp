// Day numbers beside the calendar arithmetic that any implementation does:
// clear the time of day, reject what is not a date, count the days from the
// civil date and subtract the epoch's.
#include <time.h>

#include <random>
#include <vector>

#include "TolvaricModeSupport.h"
#include "benchmark_pairs.h"

namespace tms::bench {
namespace {

// Dates from 1990 to 2150, a few of them invalid, visited in turn.
std::vector<TmsSystemTime> SampleDates() {
  std::mt19937 random(2000);
  std::vector<TmsSystemTime> dates(1024);
  for (TmsSystemTime& date : dates) {
    date.wYear = static_cast<uint16_t>(1990 + random() % 160);
    date.wMonth = static_cast<uint16_t>(1 + random() % 12);
    date.wDay = static_cast<uint16_t>(1 + random() % 31);
    date.wDayOfWeek = 0;
  }
  return dates;
}

void SetTimeOfDay(std::vector<TmsSystemTime>& dates) {
  for (TmsSystemTime& date : dates) {
    date.wHour = 13;
    date.wMinute = 45;
    date.wSecond = 30;
    date.wMilliseconds = 500;
  }
}

// Days from 1 March of year 0 of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = year / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

const int64_t kEpochDays = DaysFromCivil(2000, 7, 27);

__attribute__((noipa)) int32_t DayNumberBaseline(TmsSystemTime* date) {
  if (date == nullptr) return 0;
  date->wHour = date->wMinute = date->wSecond = date->wMilliseconds = 0;
  const int64_t year = date->wYear;
  const int64_t month = date->wMonth;
  if (year < 1601 || year > 30827 || month < 1 || month > 12 || date->wDay < 1) return 0;
  static const uint8_t kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (date->wDay > kLengths[month - 1] + (month == 2 && leap)) return 0;
  const int64_t days = DaysFromCivil(year, month, date->wDay) - kEpochDays;
  return days < 0 ? 0 : static_cast<int32_t>(days + 1);
}

// Visits the sample dates in turn; after each round their time of day is
// set again, as the calls clear it.
template <int (*kDayNumber)(TmsSystemTime*)>
void DayNumbers(benchmark::State& state) {
  std::vector<TmsSystemTime> dates = SampleDates();
  SetTimeOfDay(dates);
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kDayNumber(&dates[next]));
    next = (next + 1) % dates.size();
    if (next == 0) {
      state.PauseTiming();
      SetTimeOfDay(dates);
      state.ResumeTiming();
    }
  }
}

TMS_BENCHMARK_PAIR("tmsGetDayNumEx", true, DayNumbers<tmsGetDayNumEx>,
                   DayNumbers<DayNumberBaseline>);

void DayNumExport(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(tmsGetDayNum());
}

// The clock and the local calendar date, then the arithmetic; with
// kFollowTimeZone, tzset() before localtime_r as the POSIX clock calls it,
// so that a changed time zone is followed.
template <bool kFollowTimeZone>
void LocalDayNumbers(benchmark::State& state) {
  for (auto _ : state) {
    timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    if (kFollowTimeZone) tzset();
    tm local = {};
    localtime_r(&now.tv_sec, &local);
    TmsSystemTime date = {static_cast<uint16_t>(local.tm_year + 1900),
                          static_cast<uint16_t>(local.tm_mon + 1), 0,
                          static_cast<uint16_t>(local.tm_mday), 0, 0, 0, 0};
    benchmark::DoNotOptimize(DayNumberBaseline(&date));
  }
}

TMS_BENCHMARK_PAIR("tmsGetDayNum", false, DayNumExport, LocalDayNumbers<false>);
TMS_BENCHMARK_PAIR("tmsGetDayNum vs baseline + tzset()", false, DayNumExport,
                   LocalDayNumbers<true>);

}  // namespace
}  // namespace tms::bench
