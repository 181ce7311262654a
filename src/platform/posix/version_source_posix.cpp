// POSIX has no Windows version facts: both version queries fail, so the
// OS-name exports answer "Unknown OS", and nothing else is ever asked.
#include "platform/version_source.h"

namespace tms::platform {
namespace {

class PosixVersionSource final : public VersionSource {
 public:
  constexpr PosixVersionSource() = default;

  bool QueryVersion(uint32_t, VersionRecord* record) override {
    *record = VersionRecord{};
    return false;
  }
  bool QueryKernelVersion(VersionRecord* record) override {
    *record = VersionRecord{};
    return false;
  }
  bool NativeProcessorArchitecture(uint16_t*) override { return false; }
  uint16_t ProcessorArchitecture() override { return 0; }
  bool ProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t*) override { return false; }
  bool ReadMachineValue(const char*, const char*, char*, uint32_t*) override { return false; }
  bool MachineKeyExists(const char*) override { return false; }
  int32_t SystemMetric(int32_t) override { return 0; }
};

PosixVersionSource systemVersionSource;

}  // namespace

VersionSource& SystemVersionSource() {
  return systemVersionSource;
}

}  // namespace tms::platform
