// A VersionSource that reports what the test sets and records every query
// in order, so tests can check which system calls a gathering makes.
#pragma once

#include <string>
#include <vector>

#include "platform/version_source.h"

namespace tms::testing {

class FakeVersionSource final : public platform::VersionSource {
 public:
  // What GetVersionExA reports; the extended and the basic query can be
  // refused separately. The basic answer drops the extended fields.
  platform::VersionRecord version = {};
  bool refuseExtendedQuery = false;
  bool refuseBasicQuery = false;
  // What RtlGetVersion reports, when present.
  bool hasKernelVersion = false;
  platform::VersionRecord kernelVersion = {};
  // Processor architectures; GetNativeSystemInfo may be missing.
  bool hasNativeSystemInfo = true;
  uint16_t nativeArchitecture = 0;
  uint16_t emulatedArchitecture = 0;
  // GetProductInfo; missing when false.
  bool hasProductInfo = true;
  uint32_t productNumber = 0;
  // The ProductOptions key and its ProductType value, stored as these bytes
  // (the terminator is not added); the value may be missing.
  bool hasProductOptionsKey = true;
  bool hasProductTypeValue = true;
  std::string productTypeBytes = std::string("WINNT", 6);
  // Makes a successful query claim more bytes than the buffer holds.
  uint32_t reportedProductTypeBytes = 0;
  bool hasHotfixKey = false;
  // GetSystemMetrics(86..89).
  int32_t metrics[4] = {};

  // Every query made, e.g. "GetVersionExA 156", "RegQueryValueExA ProductType".
  std::vector<std::string> calls;
  bool Called(const std::string& call) const;

  bool QueryVersion(uint32_t recordSize, platform::VersionRecord* record) override;
  bool QueryKernelVersion(platform::VersionRecord* record) override;
  bool NativeProcessorArchitecture(uint16_t* architecture) override;
  uint16_t ProcessorArchitecture() override;
  bool ProductInfo(uint32_t major, uint32_t minor, uint32_t servicePackMajor,
                   uint32_t servicePackMinor, uint32_t* number) override;
  bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer,
                        uint32_t* byteCount) override;
  bool MachineKeyExists(const char* keyPath) override;
  int32_t SystemMetric(int32_t index) override;
};

// A version record as the system would fill it.
platform::VersionRecord MakeVersion(uint32_t platformId, uint32_t major, uint32_t minor,
                                    uint32_t build, const char* servicePack,
                                    uint8_t productType = 1, uint16_t suiteMask = 0);

}  // namespace tms::testing
