// tmsGetDayNum and tmsGetDayNumEx through the real DLL, with the system's
// own SYSTEMTIME records.
#include <gtest/gtest.h>

#include "daynum/day_number_cases.h"
#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

using testing::DayNumberCase;

int32_t DayNumEx(SYSTEMTIME* date) {
  return static_cast<int32_t>(CallExport("tmsGetDayNumEx", {Arg(date)}).result);
}

TEST(DllDayNumbers, KnownDatesAndInvalidRecords) {
  for (const DayNumberCase& row : testing::kDayNumberCases) {
    SCOPED_TRACE(row.name);
    SYSTEMTIME date = {row.year, row.month, 0x5A5A, row.day, 23, 59, 59, 999};
    EXPECT_EQ(DayNumEx(&date), row.expected);
    EXPECT_EQ(date.wYear, row.year);
    EXPECT_EQ(date.wMonth, row.month);
    EXPECT_EQ(date.wDay, row.day);
    EXPECT_EQ(date.wDayOfWeek, 0x5A5A);
    EXPECT_EQ(date.wHour + date.wMinute + date.wSecond + date.wMilliseconds, 0);
  }
  EXPECT_EQ(DayNumEx(nullptr), 0);
}

// The export reads the local date. Midnight may pass during the call: either
// day's number is accepted.
TEST(DllDayNumbers, TodayIsTheDayNumberOfTheLocalDate) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const StackCall today = CallExport("tmsGetDayNum", {});
  SYSTEMTIME after;
  GetLocalTime(&after);
  const auto result = static_cast<int32_t>(today.result);
  EXPECT_GT(result, 8000);  // later than 2022
  EXPECT_TRUE(DayNumEx(&before) == result || DayNumEx(&after) == result) << result;
}

}  // namespace
}  // namespace tms::dlltest
