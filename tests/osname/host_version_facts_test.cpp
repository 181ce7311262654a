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

const char kArch[] = "GetNativeSystemInfo";
const char kProductType[] =
    "ReadMachineValue SYSTEM\\CurrentControlSet\\Control\\ProductOptions\\ProductType";
const char kHotfix[] =
    "MachineKeyExists SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009";

enum Refused { kNone, kExtended, kBoth };

struct QueryCase {
  const char* name;
  platform::VersionRecord version;
  Refused refused;
  Calls after;  // what follows "GetVersionExA 156" and, when refused, "GetVersionExA 148"
};

// Each system is asked exactly what its name can use, in this order.
TEST(GatherHostVersionFacts, AsksOnlyWhatTheVersionsNameUses) {
  const QueryCase cases[] = {
      {"both refused: fails and asks nothing else", MakeVersion(2, 5, 1, 2600, ""), kBoth, {}},
      {"Win32s", MakeVersion(0, 3, 10, 0, ""), kNone, {kArch}},
      {"Windows 98", MakeVersion(1, 4, 10, 1998, " A "), kNone, {kArch}},
      {"Windows 95, basic record", MakeVersion(1, 4, 0, 950, ""), kExtended, {kArch}},
      {"NT 3.51, basic record", MakeVersion(2, 3, 51, 1057, ""), kExtended, {kArch, kProductType}},
      {"NT 4 extended reads no ProductType", MakeVersion(2, 4, 0, 1381, ""), kNone, {kArch}},
      {"NT 4 SP 6: hotfix", MakeVersion(2, 4, 0, 1381, "Service Pack 6"), kNone, {kArch, kHotfix}},
      {"in any letter case", MakeVersion(2, 4, 0, 1381, "SERVICE pack 6"), kNone, {kArch, kHotfix}},
      {"both registry reads",
       MakeVersion(2, 4, 0, 1381, "Service Pack 6"),
       kExtended,
       {kArch, kProductType, kHotfix}},
      {"Service Pack 6a", MakeVersion(2, 4, 0, 1381, "Service Pack 6a"), kNone, {kArch}},
      {"Service Pack 6 and a blank", MakeVersion(2, 4, 0, 1381, "Service Pack 6 "), kNone, {kArch}},
      {"Service Pack 6 on NT 3.51", MakeVersion(2, 3, 51, 1057, "Service Pack 6"), kNone, {kArch}},
      {"Windows 2000, basic record", MakeVersion(2, 5, 0, 2195, ""), kExtended, {kArch}},
      {"XP",
       MakeVersion(2, 5, 1, 2600, ""),
       kNone,
       {kArch, "GetSystemMetrics 87", "GetSystemMetrics 88", "GetSystemMetrics 86"}},
      {"Server 2003", MakeVersion(2, 5, 2, 3790, "", 3), kNone, {kArch, "GetSystemMetrics 89"}},
      {"Vista", MakeVersion(2, 6, 0, 6002, ""), kNone, {kArch, "GetProductInfo 6.0 0.0"}},
      {"Windows 7", MakeVersion(2, 6, 1, 7601, ""), kNone, {kArch, "GetProductInfo 6.1 0.0"}},
      {"6.2 asks the kernel", MakeVersion(2, 6, 2, 9200, ""), kNone, {"RtlGetVersion", kArch}},
      {"6.3", MakeVersion(2, 6, 3, 9600, ""), kNone, {kArch}},
      {"10.0", MakeVersion(2, 10, 0, 19045, ""), kNone, {kArch}},
      {"6.2 numbers on the 9x family", MakeVersion(1, 6, 2, 0, ""), kNone, {kArch}},
  };
  for (const QueryCase& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = row.version;
    source.refuseExtendedQuery = row.refused != kNone;
    source.refuseBasicQuery = row.refused == kBoth;
    Calls expected = {"GetVersionExA 156"};
    if (row.refused != kNone) expected.push_back("GetVersionExA 148");
    expected.insert(expected.end(), row.after.begin(), row.after.end());
    HostVersionFacts facts;
    EXPECT_EQ(GatherHostVersionFacts(source, &facts), row.refused != kBoth);
    EXPECT_EQ(source.calls, expected);
    EXPECT_EQ(facts.hasExtendedFacts, row.refused == kNone);
  }
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
  EXPECT_EQ(facts.processorArchitecture, 9);
  EXPECT_EQ(facts.productNumber, 10u);
  EXPECT_TRUE(source.Called("GetProductInfo 6.1 1.2"));
}

// The answers of the queries that only some systems are asked.
TEST(GatherHostVersionFacts, OptionalAnswersSetTheirFacts) {
  HostVersionFacts facts;
  FakeVersionSource wow64;  // GetSystemInfo would report the emulated x86
  wow64.version = MakeVersion(2, 5, 2, 3790, "");
  wow64.nativeArchitecture = 9;
  wow64.metrics[3] = 1;  // R2
  ASSERT_TRUE(GatherHostVersionFacts(wow64, &facts));
  EXPECT_EQ(facts.processorArchitecture, 9);
  EXPECT_FALSE(wow64.Called("GetSystemInfo"));
  EXPECT_TRUE(facts.isServerR2);

  FakeVersionSource old;
  old.version = MakeVersion(2, 5, 1, 2600, "");
  old.hasNativeSystemInfo = false;
  old.emulatedArchitecture = 6;
  old.metrics[0] = 1;  // tablet
  old.metrics[2] = 5;  // starter
  ASSERT_TRUE(GatherHostVersionFacts(old, &facts));
  EXPECT_EQ(facts.processorArchitecture, 6);
  EXPECT_TRUE(old.Called("GetSystemInfo"));
  EXPECT_TRUE(facts.isTabletPC);
  EXPECT_FALSE(facts.isMediaCenter);
  EXPECT_TRUE(facts.isStarter);
  EXPECT_FALSE(facts.isServerR2);

  FakeVersionSource vista;
  vista.version = MakeVersion(2, 6, 0, 6002, "");
  vista.hasProductInfo = false;
  vista.productNumber = 4;
  ASSERT_TRUE(GatherHostVersionFacts(vista, &facts));
  EXPECT_EQ(facts.productNumber, 0u);

  FakeVersionSource nt4;
  nt4.version = MakeVersion(2, 4, 0, 1381, "service pack 6");
  for (bool hasHotfixKey : {true, false}) {
    nt4.hasHotfixKey = hasHotfixKey;
    ASSERT_TRUE(GatherHostVersionFacts(nt4, &facts));
    EXPECT_EQ(facts.hasQ246009Hotfix, hasHotfixKey);
  }
}

// GetVersionExA caps later systems at 6.2; the kernel's newer answer wins.
TEST(GatherHostVersionFacts, CappedVersionIsReplacedByTheKernelsNewerOne) {
  const struct {
    const char* name;
    bool hasKernelVersion;
    platform::VersionRecord kernel;
    std::string expected;  // major.minor.build and service pack
  } cases[] = {
      {"Windows 10", true, MakeVersion(2, 10, 0, 19045, ""), "10.0.19045 "},
      {"Windows 8.1 with a service pack", true, MakeVersion(2, 6, 3, 9600, "Service Pack 1"),
       "6.3.9600 Service Pack 1"},
      {"really Windows 8", true, MakeVersion(2, 6, 2, 9201, "x"), "6.2.9200 "},
      {"an older kernel answer is ignored", true, MakeVersion(2, 6, 1, 7601, "x"), "6.2.9200 "},
      {"no RtlGetVersion", false, {}, "6.2.9200 "},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = MakeVersion(2, 6, 2, 9200, "", 1, 0x0100);
    source.hasKernelVersion = row.hasKernelVersion;
    source.kernelVersion = row.kernel;
    HostVersionFacts facts;
    ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
    EXPECT_EQ(std::to_string(facts.majorVersion) + "." + std::to_string(facts.minorVersion) + "." +
                  std::to_string(facts.buildNumber) + " " + facts.servicePackText,
              row.expected);
    // Everything else still comes from GetVersionExA.
    EXPECT_EQ(facts.productType, 1);
    EXPECT_EQ(facts.suiteMask, 0x0100);
    EXPECT_FALSE(source.Called("GetProductInfo 6.1 0.0"));
  }
}

// NT 4 and earlier without the extended record: the version from the basic
// one, the product type from the registry.
TEST(GatherHostVersionFacts, RegistryProductTypeIsKeptOnlyWhenReadWhole) {
  const struct {
    const char* name;
    bool readable;
    std::string bytes;
    uint32_t reportedBytes;
    std::string expected;
  } cases[] = {
      {"stored as read", true, std::string("LanmanNT", 9), 0, "LanmanNT"},
      {"no terminator stored", true, "SERVERNT", 0, "SERVERNT"},
      {"unreadable", false, std::string("WINNT", 6), 0, ""},
      {"larger than the buffer", true, std::string(81, 'B'), 0, ""},
      {"success claiming more than the buffer", true, std::string("WINNT", 6), 81, ""},
      {"filling the buffer without terminator", true, std::string(80, 'A'), 0,
       std::string(79, 'A')},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = MakeVersion(2, 4, 0, 1381, "Service Pack 3");
    source.refuseExtendedQuery = true;
    source.hasProductType = row.readable;
    source.productTypeBytes = row.bytes;
    source.reportedProductTypeBytes = row.reportedBytes;
    HostVersionFacts facts;
    ASSERT_TRUE(GatherHostVersionFacts(source, &facts));
    EXPECT_EQ(facts.registryProductType, row.expected);
    EXPECT_EQ(facts.buildNumber, 1381u);
    EXPECT_STREQ(facts.servicePackText, "Service Pack 3");
  }
}

}  // namespace
}  // namespace tms
