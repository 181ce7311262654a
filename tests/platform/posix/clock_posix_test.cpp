// The POSIX clock reads the date in the time zone that TZ names at the time
// of the call.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "daynum/day_number.h"
#include "platform/clock.h"

namespace tms {
namespace {

// Today's day number with TZ set to `zone`; TZ is put back afterwards.
int32_t TodayIn(const char* zone) {
  const char* previous = getenv("TZ");
  const std::string saved = previous != nullptr ? previous : "";
  setenv("TZ", zone, 1);
  const int32_t today = TodayDayNumber(platform::SystemClock());
  if (previous != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  return today;
}

// 14 hours ahead of UTC and 12 hours behind lie 26 hours apart: at any
// moment their dates differ by one or two days.
TEST(PosixClock, FollowsTheTimeZoneOfTheMoment) {
  const int32_t ahead = TodayIn("<+14>-14");
  const int32_t behind = TodayIn("<-12>+12");
  EXPECT_GE(ahead - behind, 1);
  EXPECT_LE(ahead - behind, 2);
}

}  // namespace
}  // namespace tms
