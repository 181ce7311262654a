// HostVersionFacts: what the running system says about its version, read
// afresh for every OS-name request and turned into names by host_os_name.
#pragma once

#include "platform/types.h"
#include "platform/version_source.h"

namespace tms {

// Suite bits and product types that the names depend on.
constexpr uint16_t kSuiteEnterprise = 0x0002;
constexpr uint16_t kSuiteEmbedded = 0x0040;
constexpr uint16_t kSuiteDatacenter = 0x0080;
constexpr uint16_t kSuitePersonal = 0x0200;
constexpr uint16_t kSuiteBlade = 0x0400;
constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;
constexpr uint16_t kArchitectureItanium = 6;
constexpr uint16_t kArchitectureX64 = 9;

// A plain value; every text is terminated. Facts that were not read hold
// their empty value (0, empty text, false).
struct HostVersionFacts {
  uint32_t platformId;  // 0 Win32s, 1 Windows 95/98/Me, 2 NT; others kept as reported
  uint32_t majorVersion;
  uint32_t minorVersion;
  uint32_t buildNumber;  // only the low 16 bits are ever shown
  char servicePackText[128];
  // From the extended version record only; 0 when hasExtendedFacts is false.
  uint16_t servicePackMajor;
  uint16_t servicePackMinor;
  uint16_t suiteMask;
  uint8_t productType;
  bool hasExtendedFacts;
  uint16_t processorArchitecture;  // of the machine, also under a 32-bit process on x64
  uint32_t productNumber;          // GetProductInfo, NT 6.0 and 6.1 only
  char registryProductType[80];    // "WINNT", "LANMANNT", ...; NT 4 and earlier only
  bool hasQ246009Hotfix;           // NT 4 with "Service Pack 6" only
  bool isServerR2;                 // NT 5.2 only
  bool isMediaCenter;              // NT 5.1 only
  bool isStarter;                  // NT 5.1 only
  bool isTabletPC;                 // NT 5.1 only
};

// Fills `facts` from `source`. The extended version query is tried first,
// the basic one when it is refused; false (and nothing else asked) when both
// fail. The registry and GetProductInfo are touched only on the versions
// whose names use what they give.
//
// When GetVersionExA answers 6.2 on NT, which it does for every version from
// 6.2 on unless the program declares itself compatible, the kernel's own
// version is asked as well, and a newer version replaces major, minor, build
// and service-pack text, so that such a host is not named "Windows 8".
bool GatherHostVersionFacts(platform::VersionSource& source, HostVersionFacts* facts);

}  // namespace tms
