// tmsGetDayNum through the real DLL against the system's own local date.
// The rows of known dates run through tmsGetDayNumEx under Wine in the
// stress tests, which check each result and what the call left of the record.
#include <gtest/gtest.h>

#include "dll/dll_harness.h"

namespace tms::dlltest {
namespace {

int32_t DayNumEx(SYSTEMTIME* date) {
  return static_cast<int32_t>(CallExport("tmsGetDayNumEx", {Arg(date)}).result);
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
  EXPECT_EQ(DayNumEx(nullptr), 0);
}

}  // namespace
}  // namespace tms::dlltest
