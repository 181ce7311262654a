// The string services a host uses to read and release the library's strings.
#pragma once

#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/types.h"

namespace tms {

// UTF-16 units before the first zero unit; 0 for null. A BSTR's stored
// length is not consulted, so a zero unit inside ends the count.
int32_t MeasureWideText(const WideChar* text);

// Writes the ANSI form of `source` (up to its first zero unit) with its
// terminator into `destination`. Null pointers are ignored. If the
// conversion buffers cannot be had, nothing at all is written.
void CopyWideTextAsAnsi(platform::Memory& memory, platform::Codepage& codepage,
                        const WideChar* source, char* destination);

}  // namespace tms
