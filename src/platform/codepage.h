// Conversion between the active 8-bit ("ANSI") code page and UTF-16.
#pragma once

#include "platform/types.h"

namespace tms::platform {

// Both directions follow the contract of the Win32 conversion calls with no
// flags: a source length of -1 converts up to and including the terminator,
// a length N converts exactly N source units (zeros included); a null source
// or a length of 0 converts nothing. With a null target or a target count of
// 0 the call only measures. The result is the number of target units
// written (or that would be written), 0 on failure, including a target too
// small for the whole result. Input the code page cannot represent is
// replaced, never a failure.
class Codepage {
 public:
  virtual int32_t AnsiToWide(const char* source, int32_t sourceLength, WideChar* target,
                             int32_t targetCount) = 0;
  virtual int32_t WideToAnsi(const WideChar* source, int32_t sourceLength, char* target,
                             int32_t targetCount) = 0;

 protected:
  ~Codepage() = default;
};

// The system's active ANSI code page (on POSIX: UTF-8).
Codepage& SystemCodepage();

}  // namespace tms::platform
