// Win32 clock: GetLocalTime and SystemTimeToFileTime.
#include <windows.h>

#include "platform/clock.h"

namespace tms::platform {
namespace {

class Win32Clock final : public Clock {
 public:
  constexpr Win32Clock() = default;

  void ReadLocalTime(DateRecord* now) override {
    SYSTEMTIME local;
    GetLocalTime(&local);
    *now = {local.wYear, local.wMonth,  local.wDayOfWeek, local.wDay,
            local.wHour, local.wMinute, local.wSecond,    local.wMilliseconds};
  }

  bool DateToTicks(const DateRecord& date, int64_t* ticks) override {
    const SYSTEMTIME system = {date.year, date.month,  date.dayOfWeek, date.day,
                               date.hour, date.minute, date.second,    date.milliseconds};
    FILETIME converted;
    if (!SystemTimeToFileTime(&system, &converted)) return false;
    *ticks = static_cast<int64_t>((static_cast<uint64_t>(converted.dwHighDateTime) << 32) |
                                  converted.dwLowDateTime);
    return true;
  }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32Clock systemClock;

}  // namespace

Clock& SystemClock() { return const_cast<Win32Clock&>(systemClock); }

}  // namespace tms::platform
