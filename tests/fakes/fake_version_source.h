// A VersionSource that reports what the test sets and records every query
// in order, so tests can check which system calls a gathering makes.
#pragma once

#include <string.h>

#include <algorithm>
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
  // The ProductType value under ProductOptions, stored as these bytes (the
  // terminator is not added); unreadable when false.
  bool hasProductType = true;
  std::string productTypeBytes = std::string("WINNT", 6);
  // Makes a successful read claim more bytes than the buffer holds.
  uint32_t reportedProductTypeBytes = 0;
  bool hasHotfixKey = false;
  // GetSystemMetrics(86..89).
  int32_t metrics[4] = {};

  // Every query made, e.g. "GetVersionExA 156", "GetSystemMetrics 89". The
  // registry is answered whatever the path; tests check the path here.
  std::vector<std::string> calls;
  bool Called(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  }

  bool QueryVersion(uint32_t recordSize, platform::VersionRecord* record) override {
    calls.push_back("GetVersionExA " + std::to_string(recordSize));
    *record = {};
    const bool extended = recordSize == platform::kExtendedVersionRecordSize;
    if (extended ? refuseExtendedQuery : refuseBasicQuery) return false;
    *record = version;
    if (!extended) {
      record->servicePackMajor = record->servicePackMinor = record->suiteMask = 0;
      record->productType = 0;
    }
    return true;
  }
  bool QueryKernelVersion(platform::VersionRecord* record) override {
    calls.push_back("RtlGetVersion");
    *record = hasKernelVersion ? kernelVersion : platform::VersionRecord{};
    return hasKernelVersion;
  }
  bool NativeProcessorArchitecture(uint16_t* architecture) override {
    if (!hasNativeSystemInfo) return false;
    calls.push_back("GetNativeSystemInfo");
    *architecture = nativeArchitecture;
    return true;
  }
  uint16_t ProcessorArchitecture() override {
    calls.push_back("GetSystemInfo");
    return emulatedArchitecture;
  }
  bool ProductInfo(uint32_t major, uint32_t minor, uint32_t servicePackMajor,
                   uint32_t servicePackMinor, uint32_t* number) override {
    if (!hasProductInfo) return false;
    calls.push_back("GetProductInfo " + std::to_string(major) + "." + std::to_string(minor) + " " +
                    std::to_string(servicePackMajor) + "." + std::to_string(servicePackMinor));
    *number = productNumber;
    return true;
  }
  bool ReadMachineValue(const char* keyPath, const char* valueName, char* buffer,
                        uint32_t* byteCount) override {
    calls.push_back(std::string("ReadMachineValue ") + keyPath + "\\" + valueName);
    if (!hasProductType) return false;
    const uint32_t needed = static_cast<uint32_t>(productTypeBytes.size());
    if (needed > *byteCount) {
      // The system reports the size it needs and may leave anything behind.
      memset(buffer, 'X', *byteCount);
      *byteCount = needed;
      return false;
    }
    memcpy(buffer, productTypeBytes.data(), needed);
    *byteCount = reportedProductTypeBytes != 0 ? reportedProductTypeBytes : needed;
    return true;
  }
  bool MachineKeyExists(const char* keyPath) override {
    calls.push_back(std::string("MachineKeyExists ") + keyPath);
    return hasHotfixKey;
  }
  int32_t SystemMetric(int32_t index) override {
    calls.push_back("GetSystemMetrics " + std::to_string(index));
    return index >= 86 && index <= 89 ? metrics[index - 86] : 0;
  }
};

// A version record as the system would fill it.
inline platform::VersionRecord MakeVersion(uint32_t platformId, uint32_t major, uint32_t minor,
                                           uint32_t build, const char* servicePack,
                                           uint8_t productType = 1, uint16_t suiteMask = 0) {
  platform::VersionRecord record = {};
  record.platformId = platformId;
  record.majorVersion = major;
  record.minorVersion = minor;
  record.buildNumber = build;
  strncpy(record.servicePackText, servicePack, sizeof record.servicePackText - 1);
  record.productType = productType;
  record.suiteMask = suiteMask;
  return record;
}

}  // namespace tms::testing
