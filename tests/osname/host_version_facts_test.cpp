// Gathering of the version facts: which queries run on which system, and
// what lands in the record, against a recording fake of the system.
#include "osname/host_version_facts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_version_source.h"

namespace tms {
namespace {

using testing::FakeVersionSource;
using testing::MakeVersion;
using Calls = std::vector<std::string>;

const char kProductOptions[] = "RegOpenKeyExA SYSTEM\\CurrentControlSet\\Control\\ProductOptions";
const char kHotfix[] =
    "RegOpenKeyExA SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

struct QueryCase {
  const char* name;
  platform::VersionRecord version;
  bool extendedRefused;
  Calls expected;
};

// Each system is asked exactly what its name can use, in this order.
TEST(GatherHostVersionFacts, AsksOnlyWhatTheVersionsNameUses) {
  const QueryCase cases[] = {
      {"Win32s", MakeVersion(0, 3, 10, 0, ""), false, {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"Windows 98",
       MakeVersion(1, 4, 10, 1998, " A "),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"Windows 95 without the extended record",
       MakeVersion(1, 4, 0, 950, ""),
       true,
       {"GetVersionExA 156", "GetVersionExA 148", "GetNativeSystemInfo"}},
      {"NT 3.51 without the extended record",
       MakeVersion(2, 3, 51, 1057, "Service Pack 5"),
       true,
       {"GetVersionExA 156", "GetVersionExA 148", "GetNativeSystemInfo", kProductOptions,
        "RegQueryValueExA ProductType"}},
      {"NT 4 with the extended record reads no ProductType",
       MakeVersion(2, 4, 0, 1381, "Service Pack 5"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"NT 4 Service Pack 6 looks for the hotfix",
       MakeVersion(2, 4, 0, 1381, "Service Pack 6"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", kHotfix}},
      {"in any letter case",
       MakeVersion(2, 4, 0, 1381, "SERVICE pack 6"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", kHotfix}},
      {"both registry reads",
       MakeVersion(2, 4, 0, 1381, "Service Pack 6"),
       true,
       {"GetVersionExA 156", "GetVersionExA 148", "GetNativeSystemInfo", kProductOptions,
        "RegQueryValueExA ProductType", kHotfix}},
      {"Service Pack 6a",
       MakeVersion(2, 4, 0, 1381, "Service Pack 6a"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"Service Pack 6 and a blank",
       MakeVersion(2, 4, 0, 1381, "Service Pack 6 "),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"Service Pack 6 on NT 3.51",
       MakeVersion(2, 3, 51, 1057, "Service Pack 6"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"Windows 2000 without the extended record",
       MakeVersion(2, 5, 0, 2195, ""),
       true,
       {"GetVersionExA 156", "GetVersionExA 148", "GetNativeSystemInfo"}},
      {"XP",
       MakeVersion(2, 5, 1, 2600, "Service Pack 3"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", "GetSystemMetrics 87", "GetSystemMetrics 88",
        "GetSystemMetrics 86"}},
      {"Server 2003",
       MakeVersion(2, 5, 2, 3790, "Service Pack 2", 3),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", "GetSystemMetrics 89"}},
      {"Vista",
       MakeVersion(2, 6, 0, 6002, "Service Pack 2"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", "GetProductInfo 6.0 0.0"}},
      {"Windows 7",
       MakeVersion(2, 6, 1, 7601, "Service Pack 1"),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo", "GetProductInfo 6.1 0.0"}},
      {"6.2 asks the kernel",
       MakeVersion(2, 6, 2, 9200, ""),
       false,
       {"GetVersionExA 156", "RtlGetVersion", "GetNativeSystemInfo"}},
      {"6.3", MakeVersion(2, 6, 3, 9600, ""), false, {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"10.0",
       MakeVersion(2, 10, 0, 19045, ""),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
      {"6.2 numbers on the 9x family",
       MakeVersion(1, 6, 2, 0, ""),
       false,
       {"GetVersionExA 156", "GetNativeSystemInfo"}},
  };
  for (const QueryCase& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = row.version;
    source.refuseExtendedQuery = row.extendedRefused;
    HostVersionFacts facts;
    ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
    EXPECT_EQ(source.calls, row.expected);
    EXPECT_EQ(facts.hasExtendedFacts, !row.extendedRefused);
  }
}

TEST(GatherHostVersionFacts, BothQueriesRefusedFailsAndAsksNothingElse) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 5, 1, 2600, "");
  source.refuseExtendedQuery = source.refuseBasicQuery = true;
  HostVersionFacts facts;
  EXPECT_FALSE(GatherHostVersionFacts(source, &facts));
  EXPECT_EQ(source.calls, (Calls{"GetVersionExA 156", "GetVersionExA 148"}));
}

TEST(GatherHostVersionFacts, TakesEveryFieldOfTheExtendedRecord) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 6, 1, 7601, "Service Pack 1", 3, 0x0112);
  source.version.servicePackMajor = 1;
  source.version.servicePackMinor = 2;
  source.nativeArchitecture = 9;
  source.productNumber = 10;
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
  EXPECT_EQ(facts.platformId, 2u);
  EXPECT_EQ(facts.majorVersion, 6u);
  EXPECT_EQ(facts.minorVersion, 1u);
  EXPECT_EQ(facts.buildNumber, 7601u);
  EXPECT_STREQ(facts.servicePackText, "Service Pack 1");
  EXPECT_EQ(facts.servicePackMajor, 1);
  EXPECT_EQ(facts.servicePackMinor, 2);
  EXPECT_EQ(facts.suiteMask, 0x0112);
  EXPECT_EQ(facts.productType, 3);
  EXPECT_TRUE(facts.hasExtendedFacts);
  EXPECT_EQ(facts.processorArchitecture, 9);
  EXPECT_EQ(facts.productNumber, 10u);
  EXPECT_TRUE(source.Called("GetProductInfo 6.1 1.2"));
}

TEST(GatherHostVersionFacts, BasicRecordLeavesTheExtendedFieldsZero) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 4, 0, 1381, "Service Pack 3", 3, 0x0002);
  source.refuseExtendedQuery = true;
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
  EXPECT_FALSE(facts.hasExtendedFacts);
  EXPECT_EQ(facts.productType, 0);
  EXPECT_EQ(facts.suiteMask, 0);
  EXPECT_EQ(facts.buildNumber, 1381u);
  EXPECT_STREQ(facts.servicePackText, "Service Pack 3");
  EXPECT_STREQ(facts.registryProductType, "WINNT");
}

TEST(GatherHostVersionFacts, NativeArchitectureIsPreferredAndGetSystemInfoStandsIn) {
  FakeVersionSource wow64;
  wow64.version = MakeVersion(2, 5, 2, 3790, "", 1);
  wow64.nativeArchitecture = 9;
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(wow64, &facts));
  EXPECT_EQ(facts.processorArchitecture, 9);
  EXPECT_FALSE(wow64.Called("GetSystemInfo"));

  FakeVersionSource old;
  old.version = MakeVersion(2, 5, 0, 2195, "");
  old.hasNativeSystemInfo = false;
  old.emulatedArchitecture = 6;
  ASSERT_TRUE(GatherHostVersionFacts(old, &facts));
  EXPECT_EQ(facts.processorArchitecture, 6);
  EXPECT_TRUE(old.Called("GetSystemInfo"));
}

TEST(GatherHostVersionFacts, MissingGetProductInfoLeavesNumberZero) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 6, 0, 6002, "");
  source.hasProductInfo = false;
  source.productNumber = 4;
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
  EXPECT_EQ(facts.productNumber, 0u);
}

TEST(GatherHostVersionFacts, SystemMetricsSetTheirFlags) {
  FakeVersionSource xp;
  xp.version = MakeVersion(2, 5, 1, 2600, "");
  xp.metrics[0] = 1;  // tablet
  xp.metrics[2] = 5;  // starter
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(xp, &facts));
  EXPECT_TRUE(facts.isTabletPC);
  EXPECT_FALSE(facts.isMediaCenter);
  EXPECT_TRUE(facts.isStarter);
  EXPECT_FALSE(facts.isServerR2);

  FakeVersionSource server;
  server.version = MakeVersion(2, 5, 2, 3790, "", 3);
  server.metrics[3] = 1;
  ASSERT_TRUE(GatherHostVersionFacts(server, &facts));
  EXPECT_TRUE(facts.isServerR2);
}

struct KernelCase {
  const char* name;
  platform::VersionRecord reported;
  bool hasKernelVersion;
  platform::VersionRecord kernel;
  uint32_t major, minor, build;
  const char* servicePack;
};

// GetVersionExA caps later systems at 6.2; the kernel's newer answer wins.
TEST(GatherHostVersionFacts, CappedVersionIsReplacedByTheKernelsNewerOne) {
  const KernelCase cases[] = {
      {"Windows 10", MakeVersion(2, 6, 2, 9200, ""), true, MakeVersion(2, 10, 0, 19045, ""), 10, 0,
       19045, ""},
      {"Windows 8.1 with a service pack", MakeVersion(2, 6, 2, 9200, ""), true,
       MakeVersion(2, 6, 3, 9600, "Service Pack 1"), 6, 3, 9600, "Service Pack 1"},
      {"really Windows 8", MakeVersion(2, 6, 2, 9200, "x"), true, MakeVersion(2, 6, 2, 9201, ""), 6,
       2, 9200, "x"},
      {"an older kernel answer is ignored", MakeVersion(2, 6, 2, 9200, ""), true,
       MakeVersion(2, 6, 1, 7601, ""), 6, 2, 9200, ""},
      {"no RtlGetVersion", MakeVersion(2, 6, 2, 9200, ""), false, {}, 6, 2, 9200, ""},
  };
  for (const KernelCase& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = row.reported;
    source.version.productType = 1;
    source.version.suiteMask = 0x0100;
    source.hasKernelVersion = row.hasKernelVersion;
    source.kernelVersion = row.kernel;
    HostVersionFacts facts;
    ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
    EXPECT_EQ(facts.majorVersion, row.major);
    EXPECT_EQ(facts.minorVersion, row.minor);
    EXPECT_EQ(facts.buildNumber, row.build);
    EXPECT_STREQ(facts.servicePackText, row.servicePack);
    // Everything else still comes from GetVersionExA.
    EXPECT_EQ(facts.productType, 1);
    EXPECT_EQ(facts.suiteMask, 0x0100);
    EXPECT_FALSE(source.Called("GetProductInfo 6.1 0.0"));
  }
}

struct RegistryCase {
  const char* name;
  bool hasKey;
  bool hasValue;
  std::string bytes;
  uint32_t reportedBytes;
  const char* expected;
};

TEST(GatherHostVersionFacts, RegistryProductTypeIsKeptOnlyWhenReadWhole) {
  const std::string full80(80, 'A');
  const std::string first79(79, 'A');
  const RegistryCase cases[] = {
      {"stored as read", true, true, std::string("LanmanNT", 9), 0, "LanmanNT"},
      {"no terminator stored", true, true, "SERVERNT", 0, "SERVERNT"},
      {"no key", false, true, std::string("WINNT", 6), 0, ""},
      {"no value", true, false, std::string("WINNT", 6), 0, ""},
      {"larger than the buffer", true, true, std::string(81, 'B'), 0, ""},
      {"success claiming more than the buffer", true, true, std::string("WINNT", 6), 81, ""},
      {"filling the buffer without terminator", true, true, full80, 0, first79.c_str()},
  };
  for (const RegistryCase& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = MakeVersion(2, 4, 0, 1381, "");
    source.refuseExtendedQuery = true;
    source.hasProductOptionsKey = row.hasKey;
    source.hasProductTypeValue = row.hasValue;
    source.productTypeBytes = row.bytes;
    source.reportedProductTypeBytes = row.reportedBytes;
    HostVersionFacts facts;
    ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
    EXPECT_STREQ(facts.registryProductType, row.expected);
  }
}

TEST(GatherHostVersionFacts, HotfixKeyIsRecorded) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 4, 0, 1381, "service pack 6");
  source.hasHotfixKey = true;
  HostVersionFacts facts;
  ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
  EXPECT_TRUE(facts.hasQ246009Hotfix);
  source.hasHotfixKey = false;
  ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
  EXPECT_FALSE(facts.hasQ246009Hotfix);
}

}  // namespace
}  // namespace tms
