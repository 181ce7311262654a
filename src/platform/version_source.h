// Where the host's version facts come from: the version queries, the
// processor architecture, the installed edition, two registry entries and
// the system metrics. Functions that older systems lack are looked up by
// name at every call; each such operation says so and reports a missing one.
#pragma once

#include "platform/types.h"

namespace tms::platform {

// The fields of the system's version record that the library reads. The
// last four exist only in the extended record; a basic query leaves them 0.
struct VersionRecord {
  uint32_t majorVersion;
  uint32_t minorVersion;
  uint32_t buildNumber;
  uint32_t platformId;
  char servicePackText[128];  // always terminated
  uint16_t servicePackMajor;
  uint16_t servicePackMinor;
  uint16_t suiteMask;
  uint8_t productType;
};

// Sizes of the two version records GetVersionExA accepts.
constexpr uint32_t kExtendedVersionRecordSize = 156;
constexpr uint32_t kBasicVersionRecordSize = 148;

class VersionSource {
 public:
  // GetVersionExA on a zeroed record whose size field is `recordSize`.
  // False when the system refuses the query; `record` is then all zeros.
  virtual bool QueryVersion(uint32_t recordSize, VersionRecord* record) = 0;
  // ntdll's RtlGetVersion, which no compatibility shim caps: major, minor,
  // build, platform and service-pack text (converted to ANSI). False when
  // ntdll lacks it or it fails.
  virtual bool QueryKernelVersion(VersionRecord* record) = 0;
  // GetNativeSystemInfo's processor architecture; false when kernel32 lacks
  // the function, in which case nothing is called.
  virtual bool NativeProcessorArchitecture(uint16_t* architecture) = 0;
  // GetSystemInfo's processor architecture.
  virtual uint16_t ProcessorArchitecture() = 0;
  // GetProductInfo with the four numbers; false when kernel32 lacks it.
  // Otherwise `productNumber` is set to 0 and then to whatever it writes.
  virtual bool ProductInfo(uint32_t major, uint32_t minor, uint32_t servicePackMajor,
                           uint32_t servicePackMinor, uint32_t* productNumber) = 0;
  // Opens HKEY_LOCAL_MACHINE\keyPath for querying, reads `valueName` into
  // `buffer` (*byteCount bytes; updated to what the system reports) and
  // closes the key. False when the key or the value cannot be read.
  virtual bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer,
                                uint32_t* byteCount) = 0;
  // Whether HKEY_LOCAL_MACHINE\keyPath opens for querying; closed at once.
  virtual bool MachineKeyExists(const char* keyPath) = 0;
  // GetSystemMetrics.
  virtual int32_t SystemMetric(int32_t index) = 0;

 protected:
  ~VersionSource() = default;
};

// The running system's version facts (on POSIX: none, every query fails).
VersionSource& SystemVersionSource();

}  // namespace tms::platform
