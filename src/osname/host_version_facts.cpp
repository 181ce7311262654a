// Gathering of the host's version facts: which system query is asked, in
// which order, and on which versions.
#include "osname/host_version_facts.h"

#include "platform/ascii_case.h"
#include "platform/text.h"

namespace tms {
namespace {

constexpr const char* kProductOptionsKey = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
constexpr const char* kQ246009HotfixKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";
constexpr int32_t kMetricTabletPC = 86;
constexpr int32_t kMetricMediaCenter = 87;
constexpr int32_t kMetricStarter = 88;
constexpr int32_t kMetricServerR2 = 89;

bool IsNtVersion(const HostVersionFacts& facts, uint32_t major, uint32_t minor) {
  return facts.platformId == platform::kPlatformIdNt && facts.majorVersion == major &&
         facts.minorVersion == minor;
}

void CopyText(char* target, size_t targetSize, const char* source) {
  const size_t length = static_cast<size_t>(TextLength(source));
  const size_t copied = length < targetSize ? length : targetSize - 1;
  CopyUnits(target, source, copied);
  target[copied] = 0;
}

void TakeVersion(const platform::VersionRecord& version, HostVersionFacts* facts) {
  facts->majorVersion = version.majorVersion;
  facts->minorVersion = version.minorVersion;
  facts->buildNumber = version.buildNumber;
  CopyText(facts->servicePackText, sizeof facts->servicePackText, version.servicePackText);
}

// GetVersionExA reports 6.2 to programs without a compatibility declaration
// on every later system; the kernel's own answer is not capped.
void TakeUncappedVersion(platform::VersionSource& source, HostVersionFacts* facts) {
  if (!IsNtVersion(*facts, 6, 2)) return;
  platform::VersionRecord kernel = {};
  if (!source.QueryKernelVersion(&kernel)) return;
  const bool newer =
      kernel.majorVersion > 6 || (kernel.majorVersion == 6 && kernel.minorVersion > 2);
  if (newer) TakeVersion(kernel, facts);
}

// The ProductType value of NT 4 and earlier. A query that fails, or reports
// more than the buffer holds, leaves the text empty. A value that fills the
// whole buffer has no terminator of its own; it is cut by one byte (no
// product type is that long, so the cut text still matches none).
void ReadRegistryProductType(platform::VersionSource& source, HostVersionFacts* facts) {
  char value[sizeof facts->registryProductType] = {};
  uint32_t byteCount = sizeof value;
  if (!source.ReadMachineValue(kProductOptionsKey, "ProductType", value, &byteCount)) return;
  if (byteCount > sizeof value) return;
  value[sizeof value - 1] = 0;
  CopyText(facts->registryProductType, sizeof facts->registryProductType, value);
}

}  // namespace

bool GatherHostVersionFacts(platform::VersionSource& source, HostVersionFacts* facts) {
  *facts = HostVersionFacts{};
  platform::VersionRecord version = {};
  facts->hasExtendedFacts = source.QueryVersion(platform::kExtendedVersionRecordSize, &version);
  if (!facts->hasExtendedFacts) {
    if (!source.QueryVersion(platform::kBasicVersionRecordSize, &version)) return false;
  }
  facts->platformId = version.platformId;
  TakeVersion(version, facts);
  if (facts->hasExtendedFacts) {
    facts->servicePackMajor = version.servicePackMajor;
    facts->servicePackMinor = version.servicePackMinor;
    facts->suiteMask = version.suiteMask;
    facts->productType = version.productType;
  }
  TakeUncappedVersion(source, facts);

  if (!source.NativeProcessorArchitecture(&facts->processorArchitecture)) {
    facts->processorArchitecture = source.ProcessorArchitecture();
  }

  if (IsNtVersion(*facts, 6, 0) || IsNtVersion(*facts, 6, 1)) {
    uint32_t productNumber = 0;
    if (source.ProductInfo(facts->majorVersion, facts->minorVersion, facts->servicePackMajor,
                           facts->servicePackMinor, &productNumber)) {
      facts->productNumber = productNumber;
    }
  }
  const bool isNt = facts->platformId == platform::kPlatformIdNt;
  if (isNt && facts->majorVersion <= 4 && !facts->hasExtendedFacts) {
    ReadRegistryProductType(source, facts);
  }
  if (isNt && facts->majorVersion == 4 &&
      EqualsIgnoringCase(facts->servicePackText, "Service Pack 6")) {
    facts->hasQ246009Hotfix = source.MachineKeyExists(kQ246009HotfixKey);
  }
  if (IsNtVersion(*facts, 5, 2)) {
    facts->isServerR2 = source.SystemMetric(kMetricServerR2) != 0;
  }
  if (IsNtVersion(*facts, 5, 1)) {
    facts->isMediaCenter = source.SystemMetric(kMetricMediaCenter) != 0;
    facts->isStarter = source.SystemMetric(kMetricStarter) != 0;
    facts->isTabletPC = source.SystemMetric(kMetricTabletPC) != 0;
  }
  return true;
}

}  // namespace tms
