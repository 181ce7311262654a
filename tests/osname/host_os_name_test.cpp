// Composition of the long and short OS names from hand-filled facts, and
// the export's steps around it (gathering, trim, failure, null buffer).
#include "osname/host_os_name.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "fakes/fake_version_source.h"
#include "fakes/guarded_bytes.h"

namespace tms {
namespace {

using testing::FakeVersionSource;
using testing::GuardedBytes;
using testing::MakeVersion;

// Hand-filled facts: an NT workstation with the extended record, build
// 2600 and no service pack unless a row says otherwise.
struct Facts : HostVersionFacts {
  Facts(uint32_t platform, uint32_t major, uint32_t minor) : HostVersionFacts() {
    platformId = platform;
    majorVersion = major;
    minorVersion = minor;
    buildNumber = 2600;
    hasExtendedFacts = true;
    productType = kProductWorkstation;
  }
  Facts& Type(uint8_t type) { return Set(productType, type); }
  Facts& Suite(uint16_t mask) { return Set(suiteMask, mask); }
  Facts& Arch(uint16_t architecture) { return Set(processorArchitecture, architecture); }
  Facts& Product(uint32_t number) { return Set(productNumber, number); }
  Facts& Build(uint32_t build) { return Set(buildNumber, build); }
  Facts& Hotfix() { return Set(hasQ246009Hotfix, true); }
  Facts& R2() { return Set(isServerR2, true); }
  Facts& MediaCenter() { return Set(isMediaCenter, true); }
  Facts& Starter() { return Set(isStarter, true); }
  Facts& Tablet() { return Set(isTabletPC, true); }
  Facts& ServicePack(const std::string& text) {
    strncpy(servicePackText, text.c_str(), sizeof servicePackText - 1);
    return *this;
  }
  template <typename Field, typename Value>
  Facts& Set(Field& field, Value value) {
    field = static_cast<Field>(value);
    return *this;
  }
  // Only the basic record was read: the product type comes from the registry.
  Facts& Registry(const char* type) {
    hasExtendedFacts = false;
    productType = 0;
    strncpy(registryProductType, type, sizeof registryProductType - 1);
    return *this;
  }
};

Facts Nt(uint32_t major, uint32_t minor) {
  return Facts(2, major, minor);
}
Facts Srv(uint32_t major, uint32_t minor) {
  return Nt(major, minor).Type(kProductServer);
}
Facts Win(uint32_t major, uint32_t minor, const char* servicePack = "") {
  return Facts(1, major, minor).ServicePack(servicePack);
}
// The longest name part: 80 characters in the long form with the vendor word.
Facts Longest() {
  return Srv(5, 2).Arch(6).Suite(kSuiteDatacenter).R2().Build(65535);
}
const char kLongest[] = "Windows Server 2003 \"R2\" Datacenter Edition for Itanium-based Systems ";
const char kLongestShort[] = "Win2003 \"R2\" Data Ed IA64 ";
const char kXp[] = "Windows XP Professional ";
const char kXpShort[] = "WinXP Prof ";

std::string Filler(size_t count) {
  return std::string(count, 'x');
}

// Composes into a guarded buffer of the form's capacity and checks that
// nothing past the terminator was touched.
std::string Compose(const HostVersionFacts& facts, NameForm form, bool omitVendor, bool breakLine) {
  const size_t capacity = form == NameForm::kLong ? kLongNameBytes : kShortNameBytes;
  GuardedBytes text(capacity);
  const size_t length = ComposeHostOSName(facts, form, omitVendor, breakLine, text.get(), capacity);
  EXPECT_TRUE(text.Holds(text.Text())) << text.Text();
  EXPECT_EQ(length, text.Text().size());
  return text.Text();
}

// A name split where the line break goes, as in the Wine mode table: the
// product and edition part (the long one without the vendor word) and, on
// NT, the service-pack and build part.
struct NameCase {
  const char* name;
  HostVersionFacts facts;
  std::string longName, shortName;
  std::string longSuffix = "(Build 2600)";
  std::string shortSuffix = longSuffix;
};

// The labels as the composition writes them (the export's trim of one
// trailing blank is not applied here). The names of the systems Wine can
// pose as, from the facts Wine gives, are the rows of
// tests/osname_modes/osname_modes_test.cpp and are not repeated here.
const NameCase kNameCases[] = {
    // Win32s, the 95/98/Me family, unknown platforms.
    {"95 OSR2 C", Win(4, 0, " C"), "Windows 95 OSR2", "Win95 OSR2", ""},
    {"95 OSR2 B", Win(4, 0, " B"), "Windows 95 OSR2", "Win95 OSR2", ""},
    {"95 letter A", Win(4, 0, " A"), "Windows 95 ", "Win95 ", ""},
    {"95 one character", Win(4, 0, "C"), "Windows 95 ", "Win95 ", ""},
    {"98", Win(4, 10), "Windows 98 ", "Win98", ""},
    {"98 SE B", Win(4, 10, " B"), "Windows 98 Second Edition", "Win98SE", ""},
    {"98 letter C", Win(4, 10, " C"), "Windows 98 ", "Win98", ""},
    {"other 9x", Win(4, 1), "Windows 9x", "Win9x", ""},
    {"9x ignores build and service pack", Win(5, 0, "Service Pack 1"), "Windows 9x", "Win9x", ""},
    {"platform 3", Facts(3, 5, 1), "", "", ""},

    // NT: the product by version.
    {"NT 7.0 server", Srv(7, 0), "Windows NT 7.0 ", "WinNT 7.0 "},
    {"8 product number ignored", Nt(6, 2).Product(1), "Windows 8 ", "Win8 "},
    {"7", Nt(6, 1), "Windows 7 ", "Win7 "},
    {"Server 2008 R2", Nt(6, 1).Type(2), "Windows Server 2008 R2 ", "Win2008 R2 "},
    {"Vista", Nt(6, 0), "Windows Vista ", "Win Vista "},
    {"Server 2008", Srv(6, 0), "Windows Server 2008 ", "Win2008 "},
    {"5.2 server, R2", Srv(5, 2).R2(), "Windows Server 2003 \"R2\" Standard Edition ",
     "Win2003 \"R2\" Std Ed "},
    {"XP x64 has no R2 mark", Nt(5, 2).Arch(9).R2(), "Windows XP Professional x64 Edition ",
     "WinXP Prof x64"},
    {"NT 5.3", Nt(5, 3), "", ""},
    {"NT 5.9 server", Srv(5, 9).Suite(0x0080), "", ""},

    // Editions of 6.0 and 6.1 by product number.
    {"7 Ultimate", Nt(6, 1).Product(1), "Windows 7 Ultimate ", "Win7 Ultimate "},
    {"Vista Home Basic", Nt(6, 0).Product(2), "Windows Vista Home Basic ", "Win Vista Home Basic "},
    {"7 Home Premium", Nt(6, 1).Product(3), "Windows 7 Home Premium ", "Win7 Home Premium "},
    {"Vista Enterprise", Nt(6, 0).Product(4), "Windows Vista Enterprise ", "Win Vista Ent Ed "},
    {"Vista Business", Nt(6, 0).Product(6), "Windows Vista Business ", "Win Vista Business Ed "},
    {"2008 R2 Datacenter", Srv(6, 1).Product(8), "Windows Server 2008 R2 Datacenter Edition ",
     "Win2008 R2 Data Ed "},
    {"2008 SBS", Nt(6, 0).Type(2).Product(9), "Windows Server 2008 Small Business Server ",
     "Win2008 Sm Business "},
    {"2008 Enterprise", Srv(6, 0).Product(10), "Windows Server 2008 Enterprise Edition ",
     "Win2008 Ent Ed "},
    {"7 Starter", Nt(6, 1).Product(11), "Windows 7 Starter ", "Win7 Starter "},
    {"Datacenter core", Srv(6, 1).Product(12),
     "Windows Server 2008 R2 Datacenter Edition (core installation) ",
     "Win2008 R2 Data Ed (core) "},
    {"Standard core", Srv(6, 0).Product(13),
     "Windows Server 2008 Standard Edition (core installation) ", "Win2008 Std Ed (core) "},
    {"Enterprise core", Srv(6, 0).Product(14),
     "Windows Server 2008 Enterprise Edition (core installation) ", "Win2008 Ent Ed (core) "},
    {"Itanium", Srv(6, 1).Product(15),
     "Windows Server 2008 R2 Enterprise Edition for Itanium-based Systems ",
     "Win2008 R2 Ent Ed IA64 "},
    {"Web", Srv(6, 0).Product(17), "Windows Server 2008 Web Server Edition ", "Win2008 Web Ed "},
    {"Cluster", Srv(6, 0).Product(18), "Windows Server 2008 Cluster Server Edition ",
     "Win2008 Cluster Ed "},
    {"SBS Premium", Srv(6, 0).Product(25),
     "Windows Server 2008 Small Business Server Premium Edition ", "Win2008 Sm Business Prem "},
    {"7 Professional", Nt(6, 1).Product(48), "Windows 7 Professional ", "Win7 Prof "},
    {"unlisted number 5", Srv(6, 0).Product(5), "Windows Server 2008 ", "Win2008 "},
    {"unlisted number 0x67", Nt(6, 1).Product(0x67), "Windows 7 ", "Win7 "},

    // Editions of 5.2 servers.
    {"IA64 Datacenter", Srv(5, 2).Arch(6).Suite(0x0082),
     "Windows Server 2003 Datacenter Edition for Itanium-based Systems ", "Win2003 Data Ed IA64 "},
    {"IA64 Enterprise", Srv(5, 2).Arch(6).Suite(0x0402),
     "Windows Server 2003 Enterprise Edition for Itanium-based Systems ", "Win2003 Ent Ed IA64 "},
    {"IA64 other", Srv(5, 2).Arch(6).Suite(0x0400), "Windows Server 2003 ", "Win2003 "},
    {"x64 Datacenter", Srv(5, 2).Arch(9).Suite(0x0082),
     "Windows Server 2003 Datacenter x64 Edition ", "Win2003 Data x64 Ed "},
    {"x64 Enterprise", Nt(5, 2).Type(2).Arch(9).Suite(0x0002),
     "Windows Server 2003 Enterprise x64 Edition ", "Win2003 Ent x64 Ed "},
    {"x64 Standard", Srv(5, 2).Arch(9).Suite(0x0400), "Windows Server 2003 Standard x64 Edition ",
     "Win2003 Std x64 Ed "},
    {"Datacenter", Srv(5, 2).Suite(0x0482), "Windows Server 2003 Datacenter Edition ",
     "Win2003 Data Ed "},
    {"Enterprise", Srv(5, 2).Suite(0x0402), "Windows Server 2003 Enterprise Edition ",
     "Win2003 Ent Ed "},
    {"Web", Srv(5, 2).Arch(5).Suite(0x0400), "Windows Server 2003 Web Edition ", "Win2003 Web Ed "},

    // Editions of 5.1; the product type plays no part.
    {"XP Home", Nt(5, 1).Suite(0x0240).MediaCenter(), "Windows XP Home Edition ", "WinXP Home "},
    {"XP Embedded", Nt(5, 1).Suite(0x0040).MediaCenter(), "Windows XP Embedded ", "WinXP Embed "},
    {"XP Media Center", Nt(5, 1).MediaCenter().Starter(), "Windows XP Media Center Edition ",
     "WinXP Media Center "},
    {"XP Starter", Nt(5, 1).Starter().Tablet(), "Windows XP Starter Edition ", "WinXP Starter "},
    {"XP Tablet PC", Nt(5, 1).Tablet(), "Windows XP Tablet PC Edition ", "WinXP Tablet PC "},
    {"XP Professional, server type", Srv(5, 1).Suite(0x0082), "Windows XP Professional ",
     "WinXP Prof "},

    // Editions of 5.0.
    {"2000 Home", Nt(5, 0).Suite(0x0240), "Windows 2000 Home Edition ", "Win2000 Home "},
    {"2000 Embedded", Nt(5, 0).Suite(0x0042), "Windows 2000 Embedded ", "Win2000 Embed "},
    {"2000 Professional", Nt(5, 0).Suite(0x0082), "Windows 2000 Professional ", "Win2000 Prof "},
    {"2000 Datacenter", Srv(5, 0).Suite(0x0082), "Windows 2000 Datacenter Server ",
     "Win2000 Data Srv "},
    {"2000 Advanced", Nt(5, 0).Type(2).Suite(0x0202), "Windows 2000 Advanced Server ",
     "Win2000 Adv Srv "},
    {"2000 Server", Nt(5, 0).Type(0).Suite(0x0200), "Windows 2000 Server ", "Win2000 Srv "},

    // NT 4 and earlier with the extended record.
    {"NT 4 Workstation", Nt(4, 0).Suite(0x0002), "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 "},
    {"NT 4 Enterprise", Nt(4, 0).Type(2).Suite(0x0002),
     "Windows NT Server 4.0, Enterprise Edition ", "WinNT Srv 4.0, Ent Ed"},
    {"NT 4 Server", Srv(4, 0), "Windows NT Server 4.0 ", "WinNT Srv 4.0 "},
    {"NT 4 unknown type", Nt(4, 0).Type(4), "Windows NT ", "WinNT "},
    {"NT 3.51 takes the 4.0 labels", Srv(3, 51), "Windows NT Server 4.0 ", "WinNT Srv 4.0 "},

    // NT 4 and earlier from the registry, with the version written out.
    {"WINNT", Nt(3, 51).Registry("WINNT"), "Windows NT Workstation 3.51 ", "WinNT Wks 3.51 "},
    {"LanmanNT", Nt(4, 0).Registry("LanmanNT"), "Windows NT Server 4.0 ", "WinNT Srv 4.0 "},
    {"ServerNT", Nt(4, 0).Registry("ServerNT"), "Windows NT Advanced Server 4.0 ",
     "WinNT Adv Srv 4.0 "},
    {"unknown registry text", Nt(3, 10).Registry("WINNT "), "Windows NT 3.10 ", "WinNT 3.10 "},
    {"empty registry text", Nt(4, 0).Registry(""), "Windows NT 4.0 ", "WinNT 4.0 "},

    // The service-pack and build part.
    {"build modulo 65536", Nt(5, 1).Build(264744).ServicePack("Service Pack 3"), kXp, kXpShort,
     "Service Pack 3 (Build 2600)", "SP3 (Build 2600)"},
    {"build 0xFFFFFFFF", Nt(6, 3).Build(0xFFFFFFFF), "Windows NT 6.3 ", "WinNT 6.3 ",
     "(Build 65535)"},
    {"lower-case prefix", Nt(5, 1).ServicePack("service pack 2"), kXp, kXpShort,
     "Service Pack 2 (Build 2600)", "SP2 (Build 2600)"},
    {"mixed-case prefix keeps the rest", Nt(5, 1).ServicePack("SERVICE PACK 2, v.2180"), kXp,
     kXpShort, "Service Pack 2, v.2180 (Build 2600)", "SP2, v.2180 (Build 2600)"},
    {"no prefix", Nt(5, 1).ServicePack("Update 1"), kXp, kXpShort, "Update 1 (Build 2600)"},
    {"prefix without its blank", Nt(5, 1).ServicePack("Service Pack"), kXp, kXpShort,
     "Service Pack (Build 2600)", "SP(Build 2600)"},
    {"prefix glued to the number", Nt(5, 1).ServicePack("Service Pack3"), kXp, kXpShort,
     "Service Pack3 (Build 2600)"},
    {"SP 6a with the hotfix", Nt(4, 0).ServicePack("Service Pack 6").Hotfix().Build(1381),
     "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ", "Service Pack 6a (Build 1381)",
     "SP6a (Build 1381)"},
    {"SP 6a, any letter case", Srv(4, 0).ServicePack("SERVICE PACK 6").Hotfix().Build(1381),
     "Windows NT Server 4.0 ", "WinNT Srv 4.0 ", "Service Pack 6a (Build 1381)",
     "SP6a (Build 1381)"},
    {"SP 6 without the hotfix", Nt(4, 0).ServicePack("Service Pack 6").Build(1381),
     "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ", "Service Pack 6 (Build 1381)",
     "SP6 (Build 1381)"},
    {"hotfix with another service pack", Nt(4, 0).ServicePack("Service Pack 6 ").Hotfix(),
     "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ", "Service Pack 6  (Build 2600)",
     "SP6  (Build 2600)"},
    {"hotfix outside NT 4", Nt(3, 51).ServicePack("Service Pack 6").Hotfix(),
     "Windows NT Workstation 4.0 ", "WinNT Wks 4.0 ", "Service Pack 6 (Build 2600)",
     "SP6 (Build 2600)"},

    // Texts too long for the part are cut, keeping the blank before "(Build"; the longest
    // names fill the exports' buffers to the last byte.
    {"fits exactly", Longest().ServicePack("Update " + Filler(78)), kLongest, kLongestShort,
     "Update " + Filler(78) + " (Build 65535)"},
    {"one more is cut", Longest().ServicePack("Update " + Filler(79)), kLongest, kLongestShort,
     "Update " + Filler(78) + " (Build 65535)"},
    {"cut in the long form only", Longest().ServicePack("Service Pack " + Filler(83)), kLongest,
     kLongestShort, "Service Pack " + Filler(72) + " (Build 65535)",
     "SP" + Filler(83) + " (Build 65535)"},
    {"longest short name part, narrow build",
     Nt(0x80000000, 0x80000000).Build(7).ServicePack("service pack " + Filler(114)),
     "Windows NT -2147483648.-2147483648 ", "WinNT -2147483648.-2147483648 ",
     "Service Pack " + Filler(76) + " (Build 7)", "SP" + Filler(87) + " (Build 7)"},
};

// The vendor word opens a long name part; the line break goes between an
// NT name part and its suffix. The short form is composed as its export
// asks for it, with neither.
TEST(ComposeHostOSName, EveryLabelInBothForms) {
  for (const NameCase& row : kNameCases) {
    SCOPED_TRACE(row.name);
    const std::string vendor = row.longName.empty() ? "" : "Microsoft ";
    const std::string lineBreak = row.facts.platformId == 2 ? "\r\n" : "";
    EXPECT_EQ(Compose(row.facts, NameForm::kLong, false, true),
              vendor + row.longName + lineBreak + row.longSuffix);
    EXPECT_EQ(Compose(row.facts, NameForm::kLong, true, false), row.longName + row.longSuffix);
    EXPECT_EQ(Compose(row.facts, NameForm::kShort, true, false), row.shortName + row.shortSuffix);
  }
}

// The export's steps: gather, compose, drop one trailing blank; "Unknown OS"
// when the version cannot be read.
TEST(WriteHostOSName, WritesTheTrimmedNameOrUnknownOS) {
  const struct {
    const char* name;
    platform::VersionRecord version;
    bool readable;
    NameForm form;
    bool omitVendor;
    bool result;
    const char* expected;
  } cases[] = {
      {"98 trimmed", MakeVersion(1, 4, 10, 1998, ""), true, NameForm::kLong, false, true,
       "Microsoft Windows 98"},
      {"98 short", MakeVersion(1, 4, 10, 1998, ""), true, NameForm::kShort, true, true, "Win98"},
      {"platform 3 is empty but named", MakeVersion(3, 1, 0, 0, ""), true, NameForm::kLong, false,
       true, ""},
      {"unreadable", {}, false, NameForm::kLong, false, false, "Unknown OS"},
      {"unreadable, short", {}, false, NameForm::kShort, true, false, "Unknown OS"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = row.version;
    source.refuseExtendedQuery = source.refuseBasicQuery = !row.readable;
    GuardedBytes buffer(kLongNameBytes);
    EXPECT_EQ(WriteHostOSName(source, row.form, row.omitVendor, true, buffer.get()), row.result);
    EXPECT_TRUE(buffer.Holds(row.expected)) << buffer.Text();
  }
}

TEST(WriteHostOSName, NullBufferGivesZeroAndAsksNothing) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 5, 1, 2600, "");
  EXPECT_EQ(WriteHostOSName(source, NameForm::kLong, false, false, nullptr), 0);
  EXPECT_EQ(WriteHostOSName(source, NameForm::kShort, true, false, nullptr), 0);
  EXPECT_TRUE(source.calls.empty());
}

}  // namespace
}  // namespace tms
