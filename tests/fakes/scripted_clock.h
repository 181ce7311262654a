// A Clock whose local time is set by the test and which counts the records it
// is asked to convert. Conversions go to the system clock unless refused.
#pragma once

#include "platform/clock.h"

namespace tms::testing {

class ScriptedClock final : public platform::Clock {
 public:
  // What ReadLocalTime reports.
  void SetNow(const DateRecord& now) { now_ = now; }
  // Make every conversion report failure.
  void RefuseConversions(bool refuse) { refuse_ = refuse; }
  int conversions() const { return conversions_; }

  void ReadLocalTime(DateRecord* now) override { *now = now_; }
  bool DateToTicks(const DateRecord& date, int64_t* ticks) override {
    ++conversions_;
    return !refuse_ && platform::SystemClock().DateToTicks(date, ticks);
  }

 private:
  DateRecord now_ = {};
  bool refuse_ = false;
  int conversions_ = 0;
};

}  // namespace tms::testing
