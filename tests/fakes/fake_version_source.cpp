// The recording stand-in for the system's version facts.
#include "fakes/fake_version_source.h"

#include <string.h>

#include <algorithm>

namespace tms::testing {

bool FakeVersionSource::Called(const std::string& call) const {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

bool FakeVersionSource::QueryVersion(uint32_t recordSize, platform::VersionRecord* record) {
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

bool FakeVersionSource::QueryKernelVersion(platform::VersionRecord* record) {
  calls.push_back("RtlGetVersion");
  *record = {};
  if (!hasKernelVersion) return false;
  *record = kernelVersion;
  return true;
}

bool FakeVersionSource::NativeProcessorArchitecture(uint16_t* architecture) {
  if (!hasNativeSystemInfo) return false;
  calls.push_back("GetNativeSystemInfo");
  *architecture = nativeArchitecture;
  return true;
}

uint16_t FakeVersionSource::ProcessorArchitecture() {
  calls.push_back("GetSystemInfo");
  return emulatedArchitecture;
}

bool FakeVersionSource::ProductInfo(uint32_t major, uint32_t minor, uint32_t servicePackMajor,
                                    uint32_t servicePackMinor, uint32_t* number) {
  if (!hasProductInfo) return false;
  calls.push_back("GetProductInfo " + std::to_string(major) + "." + std::to_string(minor) + " " +
                  std::to_string(servicePackMajor) + "." + std::to_string(servicePackMinor));
  *number = productNumber;
  return true;
}

bool FakeVersionSource::ReadMachineValue(const char* keyPath, const char* valueName, char* buffer,
                                         uint32_t* byteCount) {
  calls.push_back(std::string("RegOpenKeyExA ") + keyPath);
  if (!hasProductOptionsKey ||
      strcmp(keyPath, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions") != 0) {
    return false;
  }
  calls.push_back(std::string("RegQueryValueExA ") + valueName);
  if (!hasProductTypeValue || strcmp(valueName, "ProductType") != 0) return false;
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

bool FakeVersionSource::MachineKeyExists(const char* keyPath) {
  calls.push_back(std::string("RegOpenKeyExA ") + keyPath);
  return hasHotfixKey &&
         strcmp(keyPath, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009") == 0;
}

int32_t FakeVersionSource::SystemMetric(int32_t index) {
  calls.push_back("GetSystemMetrics " + std::to_string(index));
  return index >= 86 && index <= 89 ? metrics[index - 86] : 0;
}

platform::VersionRecord MakeVersion(uint32_t platformId, uint32_t major, uint32_t minor,
                                    uint32_t build, const char* servicePack, uint8_t productType,
                                    uint16_t suiteMask) {
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
