// Basic text and handle types shared by the logic and the platform layer.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace tms {

// One UTF-16 code unit. The logic uses char16_t everywhere; the Win32 layer
// reinterprets it as WCHAR, which has the same size and representation.
using WideChar = char16_t;

// An OLE Automation string: UTF-16 text preceded by a 32-bit byte length and
// followed by a zero unit. The pointer points at the text.
using Bstr = WideChar*;

// Opaque handle of a top-level window; null means "no window".
using WindowHandle = void*;

namespace platform {

// The platform identifiers of the system's version query: Win32s, the
// Windows 95 family, the NT family.
constexpr uint32_t kPlatformIdWin32s = 0;
constexpr uint32_t kPlatformIdWindows = 1;
constexpr uint32_t kPlatformIdNt = 2;

}  // namespace platform
}  // namespace tms
