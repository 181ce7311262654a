// The version the library reports, in one place for DllGetVersion and the
// version resource.
#pragma once

#define TMS_VERSION_MAJOR 1
#define TMS_VERSION_MINOR 0
#define TMS_VERSION_BUILD 10
#define TMS_VERSION_TEXT "1.00.0010"

#ifndef RC_INVOKED
#include <stdint.h>

namespace tms {

// The shell's DLLVERSIONINFO: five 32-bit fields.
struct DllVersionRecord {
  uint32_t cbSize;
  uint32_t dwMajorVersion;
  uint32_t dwMinorVersion;
  uint32_t dwBuildNumber;
  uint32_t dwPlatformID;
};

constexpr int32_t kResultOk = 0;
constexpr int32_t kResultInvalidArgument = static_cast<int32_t>(0x80070057u);

// Fills a record of exactly 20 bytes; refuses null and any other size
// (including the 32-byte extended form) without writing.
inline int32_t FillDllVersion(DllVersionRecord* info) {
  if (info == nullptr || info->cbSize != sizeof(DllVersionRecord)) return kResultInvalidArgument;
  info->dwMajorVersion = TMS_VERSION_MAJOR;
  info->dwMinorVersion = TMS_VERSION_MINOR;
  info->dwBuildNumber = TMS_VERSION_BUILD;
  info->dwPlatformID = 1;  // DLLVER_PLATFORM_WINDOWS
  return kResultOk;
}

}  // namespace tms

#endif  // RC_INVOKED
