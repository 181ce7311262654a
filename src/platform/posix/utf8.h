// UTF-8 <-> UTF-16 conversion with replacement, the POSIX stand-in for the
// active ANSI code page. Same contract as platform::Codepage.
#pragma once

#include "platform/types.h"

namespace tms::platform {

int32_t Utf8ToUtf16(const char* source, int32_t sourceLength, WideChar* target,
                    int32_t targetCount);
int32_t Utf16ToUtf8(const WideChar* source, int32_t sourceLength, char* target,
                    int32_t targetCount);

}  // namespace tms::platform
