// Win32 conversion in the active ANSI code page, with no flags.
#include <windows.h>

#include "platform/codepage.h"

namespace tms::platform {
namespace {

class Win32Codepage final : public Codepage {
 public:
  constexpr Win32Codepage() = default;

  // The guards keep the contract for any caller. The library's own caller,
  // DualString, never passes a null source or a zero length, and the system
  // calls answer both with 0 themselves, so no test can tell a changed guard
  // from this one.
  int32_t AnsiToWide(const char* source, int32_t sourceLength, WideChar* target,
                     int32_t targetCount) override {
    if (source == nullptr || sourceLength == 0) return 0;
    return MultiByteToWideChar(CP_ACP, 0, source, sourceLength, reinterpret_cast<LPWSTR>(target),
                               target == nullptr ? 0 : targetCount);
  }
  int32_t WideToAnsi(const WideChar* source, int32_t sourceLength, char* target,
                     int32_t targetCount) override {
    if (source == nullptr || sourceLength == 0) return 0;
    return WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(source), sourceLength, target,
                               target == nullptr ? 0 : targetCount, nullptr, nullptr);
  }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32Codepage systemCodepage;

}  // namespace

Codepage& SystemCodepage() { return const_cast<Win32Codepage&>(systemCodepage); }

}  // namespace tms::platform
