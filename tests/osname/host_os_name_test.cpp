// Composition of the long and short OS names from hand-filled facts, and
// the export's steps around it (gathering, trim, failure, null buffer).
#include "osname/host_os_name.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "fakes/fake_version_source.h"

namespace tms {
namespace {

using testing::FakeVersionSource;
using testing::MakeVersion;

// Hand-filled facts: an NT workstation with the extended record, build
// 2600 and no service pack unless a row says otherwise.
class Facts {
 public:
  Facts(uint32_t platformId, uint32_t major, uint32_t minor) : facts_() {
    facts_.platformId = platformId;
    facts_.majorVersion = major;
    facts_.minorVersion = minor;
    facts_.buildNumber = 2600;
    facts_.hasExtendedFacts = true;
    facts_.productType = 1;
  }
  Facts& Type(uint8_t productType) { return Set(&HostVersionFacts::productType, productType); }
  Facts& Suite(uint16_t mask) { return Set(&HostVersionFacts::suiteMask, mask); }
  Facts& Arch(uint16_t architecture) {
    return Set(&HostVersionFacts::processorArchitecture, architecture);
  }
  Facts& Product(uint32_t number) { return Set(&HostVersionFacts::productNumber, number); }
  Facts& Build(uint32_t build) { return Set(&HostVersionFacts::buildNumber, build); }
  Facts& Hotfix() { return Set(&HostVersionFacts::hasQ246009Hotfix, true); }
  Facts& R2() { return Set(&HostVersionFacts::isServerR2, true); }
  Facts& MediaCenter() { return Set(&HostVersionFacts::isMediaCenter, true); }
  Facts& Starter() { return Set(&HostVersionFacts::isStarter, true); }
  Facts& Tablet() { return Set(&HostVersionFacts::isTabletPC, true); }
  Facts& ServicePack(const std::string& text) {
    strncpy(facts_.servicePackText, text.c_str(), sizeof facts_.servicePackText - 1);
    return *this;
  }
  // Only the basic record was read: the product type comes from the registry.
  Facts& Registry(const char* productType) {
    facts_.hasExtendedFacts = false;
    facts_.productType = 0;
    strncpy(facts_.registryProductType, productType, sizeof facts_.registryProductType - 1);
    return *this;
  }
  operator const HostVersionFacts&() const { return facts_; }

 private:
  template <typename Field, typename Value>
  Facts& Set(Field HostVersionFacts::*field, Value value) {
    facts_.*field = static_cast<Field>(value);
    return *this;
  }
  HostVersionFacts facts_;
};

Facts Nt(uint32_t major, uint32_t minor) {
  return Facts(2, major, minor);
}
Facts Win(uint32_t major, uint32_t minor, const char* servicePack = "") {
  return Facts(1, major, minor).ServicePack(servicePack);
}

constexpr char kSentinel = static_cast<char>(0xCC);

// Composes into a sentinel-filled buffer and checks that nothing past the
// form's capacity and nothing past the terminator was touched.
std::string Compose(const HostVersionFacts& facts, NameForm form, bool omitVendor = false,
                    bool breakLine = false) {
  const size_t capacity = form == NameForm::kLong ? kLongNameBytes : kShortNameBytes;
  char text[kLongNameBytes + 8];
  memset(text, kSentinel, sizeof text);
  const size_t length = ComposeHostOSName(facts, form, omitVendor, breakLine, text, capacity);
  EXPECT_LT(length, capacity);
  EXPECT_EQ(length, strlen(text));
  for (size_t i = length + 1; i < sizeof text; ++i) EXPECT_EQ(text[i], kSentinel) << i;
  return text;
}

struct NameCase {
  const char* name;
  HostVersionFacts facts;
  const char* longText;  // vendor word, no line break
  const char* shortText;
};

// The labels as the composition writes them (the export's trim of one
// trailing blank is not applied here). The names of the systems Wine can
// pose as, from the facts Wine gives, are the rows of
// tests/osname_modes/osname_modes_test.cpp and are not repeated here.
const NameCase kNameCases[] = {
    // Win32s, the 95/98/Me family, unknown platforms.
    {"95 OSR2 C", Win(4, 0, " C"), "Microsoft Windows 95 OSR2", "Win95 OSR2"},
    {"95 OSR2 B", Win(4, 0, " B"), "Microsoft Windows 95 OSR2", "Win95 OSR2"},
    {"95 letter A", Win(4, 0, " A"), "Microsoft Windows 95 ", "Win95 "},
    {"95 one character", Win(4, 0, "C"), "Microsoft Windows 95 ", "Win95 "},
    {"98", Win(4, 10), "Microsoft Windows 98 ", "Win98"},
    {"98 SE B", Win(4, 10, " B"), "Microsoft Windows 98 Second Edition", "Win98SE"},
    {"98 letter C", Win(4, 10, " C"), "Microsoft Windows 98 ", "Win98"},
    {"other 9x", Win(4, 1), "Microsoft Windows 9x", "Win9x"},
    {"9x ignores build and service pack", Win(5, 0, "Service Pack 1"), "Microsoft Windows 9x",
     "Win9x"},
    {"platform 3", Facts(3, 5, 1), "", ""},

    // NT: the product by version.
    {"NT 7.0 server", Nt(7, 0).Type(3), "Microsoft Windows NT 7.0 (Build 2600)",
     "WinNT 7.0 (Build 2600)"},
    {"Server 2012", Nt(6, 2).Type(3).Build(9200), "Microsoft Windows Server 2012 (Build 9200)",
     "Win2012 (Build 9200)"},
    {"8 product number ignored", Nt(6, 2).Product(1), "Microsoft Windows 8 (Build 2600)",
     "Win8 (Build 2600)"},
    {"7", Nt(6, 1), "Microsoft Windows 7 (Build 2600)", "Win7 (Build 2600)"},
    {"Server 2008 R2", Nt(6, 1).Type(2), "Microsoft Windows Server 2008 R2 (Build 2600)",
     "Win2008 R2 (Build 2600)"},
    {"Vista", Nt(6, 0), "Microsoft Windows Vista (Build 2600)", "Win Vista (Build 2600)"},
    {"Server 2008", Nt(6, 0).Type(3), "Microsoft Windows Server 2008 (Build 2600)",
     "Win2008 (Build 2600)"},
    {"5.2 server, R2", Nt(5, 2).Type(3).R2(),
     "Microsoft Windows Server 2003 \"R2\" Standard Edition (Build 2600)",
     "Win2003 \"R2\" Std Ed (Build 2600)"},
    {"XP x64 has no R2 mark", Nt(5, 2).Arch(9).R2(),
     "Microsoft Windows XP Professional x64 Edition (Build 2600)", "WinXP Prof x64(Build 2600)"},
    {"NT 5.3", Nt(5, 3), "(Build 2600)", "(Build 2600)"},
    {"NT 5.9 server", Nt(5, 9).Type(3).Suite(0x0080), "(Build 2600)", "(Build 2600)"},

    // Editions of 6.0 and 6.1 by product number.
    {"7 Ultimate", Nt(6, 1).Product(1), "Microsoft Windows 7 Ultimate (Build 2600)",
     "Win7 Ultimate (Build 2600)"},
    {"Vista Home Basic", Nt(6, 0).Product(2), "Microsoft Windows Vista Home Basic (Build 2600)",
     "Win Vista Home Basic (Build 2600)"},
    {"7 Home Premium", Nt(6, 1).Product(3), "Microsoft Windows 7 Home Premium (Build 2600)",
     "Win7 Home Premium (Build 2600)"},
    {"Vista Enterprise", Nt(6, 0).Product(4), "Microsoft Windows Vista Enterprise (Build 2600)",
     "Win Vista Ent Ed (Build 2600)"},
    {"Vista Business", Nt(6, 0).Product(6), "Microsoft Windows Vista Business (Build 2600)",
     "Win Vista Business Ed (Build 2600)"},
    {"2008 R2 Datacenter", Nt(6, 1).Type(3).Product(8),
     "Microsoft Windows Server 2008 R2 Datacenter Edition (Build 2600)",
     "Win2008 R2 Data Ed (Build 2600)"},
    {"2008 SBS", Nt(6, 0).Type(2).Product(9),
     "Microsoft Windows Server 2008 Small Business Server (Build 2600)",
     "Win2008 Sm Business (Build 2600)"},
    {"2008 Enterprise", Nt(6, 0).Type(3).Product(10),
     "Microsoft Windows Server 2008 Enterprise Edition (Build 2600)",
     "Win2008 Ent Ed (Build 2600)"},
    {"7 Starter", Nt(6, 1).Product(11), "Microsoft Windows 7 Starter (Build 2600)",
     "Win7 Starter (Build 2600)"},
    {"Datacenter core", Nt(6, 1).Type(3).Product(12),
     "Microsoft Windows Server 2008 R2 Datacenter Edition (core installation) (Build 2600)",
     "Win2008 R2 Data Ed (core) (Build 2600)"},
    {"Standard core", Nt(6, 0).Type(3).Product(13),
     "Microsoft Windows Server 2008 Standard Edition (core installation) (Build 2600)",
     "Win2008 Std Ed (core) (Build 2600)"},
    {"Enterprise core", Nt(6, 0).Type(3).Product(14),
     "Microsoft Windows Server 2008 Enterprise Edition (core installation) (Build 2600)",
     "Win2008 Ent Ed (core) (Build 2600)"},
    {"Itanium", Nt(6, 1).Type(3).Product(15),
     "Microsoft Windows Server 2008 R2 Enterprise Edition for Itanium-based Systems (Build 2600)",
     "Win2008 R2 Ent Ed IA64 (Build 2600)"},
    {"Web", Nt(6, 0).Type(3).Product(17),
     "Microsoft Windows Server 2008 Web Server Edition (Build 2600)",
     "Win2008 Web Ed (Build 2600)"},
    {"Cluster", Nt(6, 0).Type(3).Product(18),
     "Microsoft Windows Server 2008 Cluster Server Edition (Build 2600)",
     "Win2008 Cluster Ed (Build 2600)"},
    {"SBS Premium", Nt(6, 0).Type(3).Product(25),
     "Microsoft Windows Server 2008 Small Business Server Premium Edition (Build 2600)",
     "Win2008 Sm Business Prem (Build 2600)"},
    {"7 Professional", Nt(6, 1).Product(48), "Microsoft Windows 7 Professional (Build 2600)",
     "Win7 Prof (Build 2600)"},
    {"unlisted number 5", Nt(6, 0).Type(3).Product(5), "Microsoft Windows Server 2008 (Build 2600)",
     "Win2008 (Build 2600)"},
    {"unlisted number 0x67", Nt(6, 1).Product(0x67), "Microsoft Windows 7 (Build 2600)",
     "Win7 (Build 2600)"},

    // Editions of 5.2 servers.
    {"IA64 Datacenter", Nt(5, 2).Type(3).Arch(6).Suite(0x0082),
     "Microsoft Windows Server 2003 Datacenter Edition for Itanium-based Systems (Build 2600)",
     "Win2003 Data Ed IA64 (Build 2600)"},
    {"IA64 Enterprise", Nt(5, 2).Type(3).Arch(6).Suite(0x0402),
     "Microsoft Windows Server 2003 Enterprise Edition for Itanium-based Systems (Build 2600)",
     "Win2003 Ent Ed IA64 (Build 2600)"},
    {"IA64 other", Nt(5, 2).Type(3).Arch(6).Suite(0x0400),
     "Microsoft Windows Server 2003 (Build 2600)", "Win2003 (Build 2600)"},
    {"x64 Datacenter", Nt(5, 2).Type(3).Arch(9).Suite(0x0082),
     "Microsoft Windows Server 2003 Datacenter x64 Edition (Build 2600)",
     "Win2003 Data x64 Ed (Build 2600)"},
    {"x64 Enterprise", Nt(5, 2).Type(2).Arch(9).Suite(0x0002),
     "Microsoft Windows Server 2003 Enterprise x64 Edition (Build 2600)",
     "Win2003 Ent x64 Ed (Build 2600)"},
    {"x64 Standard", Nt(5, 2).Type(3).Arch(9).Suite(0x0400),
     "Microsoft Windows Server 2003 Standard x64 Edition (Build 2600)",
     "Win2003 Std x64 Ed (Build 2600)"},
    {"Datacenter", Nt(5, 2).Type(3).Suite(0x0482),
     "Microsoft Windows Server 2003 Datacenter Edition (Build 2600)",
     "Win2003 Data Ed (Build 2600)"},
    {"Enterprise", Nt(5, 2).Type(3).Suite(0x0402),
     "Microsoft Windows Server 2003 Enterprise Edition (Build 2600)",
     "Win2003 Ent Ed (Build 2600)"},
    {"Web", Nt(5, 2).Type(3).Arch(5).Suite(0x0400),
     "Microsoft Windows Server 2003 Web Edition (Build 2600)", "Win2003 Web Ed (Build 2600)"},

    // Editions of 5.1; the product type plays no part.
    {"XP Home", Nt(5, 1).Suite(0x0240).MediaCenter(),
     "Microsoft Windows XP Home Edition (Build 2600)", "WinXP Home (Build 2600)"},
    {"XP Embedded", Nt(5, 1).Suite(0x0040).MediaCenter(),
     "Microsoft Windows XP Embedded (Build 2600)", "WinXP Embed (Build 2600)"},
    {"XP Media Center", Nt(5, 1).MediaCenter().Starter(),
     "Microsoft Windows XP Media Center Edition (Build 2600)", "WinXP Media Center (Build 2600)"},
    {"XP Starter", Nt(5, 1).Starter().Tablet(), "Microsoft Windows XP Starter Edition (Build 2600)",
     "WinXP Starter (Build 2600)"},
    {"XP Tablet PC", Nt(5, 1).Tablet(), "Microsoft Windows XP Tablet PC Edition (Build 2600)",
     "WinXP Tablet PC (Build 2600)"},
    {"XP Professional, server type", Nt(5, 1).Type(3).Suite(0x0082),
     "Microsoft Windows XP Professional (Build 2600)", "WinXP Prof (Build 2600)"},

    // Editions of 5.0.
    {"2000 Home", Nt(5, 0).Suite(0x0240), "Microsoft Windows 2000 Home Edition (Build 2600)",
     "Win2000 Home (Build 2600)"},
    {"2000 Embedded", Nt(5, 0).Suite(0x0042), "Microsoft Windows 2000 Embedded (Build 2600)",
     "Win2000 Embed (Build 2600)"},
    {"2000 Professional", Nt(5, 0).Suite(0x0082),
     "Microsoft Windows 2000 Professional (Build 2600)", "Win2000 Prof (Build 2600)"},
    {"2000 Datacenter", Nt(5, 0).Type(3).Suite(0x0082),
     "Microsoft Windows 2000 Datacenter Server (Build 2600)", "Win2000 Data Srv (Build 2600)"},
    {"2000 Advanced", Nt(5, 0).Type(2).Suite(0x0202),
     "Microsoft Windows 2000 Advanced Server (Build 2600)", "Win2000 Adv Srv (Build 2600)"},
    {"2000 Server", Nt(5, 0).Type(0).Suite(0x0200), "Microsoft Windows 2000 Server (Build 2600)",
     "Win2000 Srv (Build 2600)"},

    // NT 4 and earlier with the extended record.
    {"NT 4 Workstation", Nt(4, 0).Suite(0x0002),
     "Microsoft Windows NT Workstation 4.0 (Build 2600)", "WinNT Wks 4.0 (Build 2600)"},
    {"NT 4 Enterprise", Nt(4, 0).Type(2).Suite(0x0002),
     "Microsoft Windows NT Server 4.0, Enterprise Edition (Build 2600)",
     "WinNT Srv 4.0, Ent Ed(Build 2600)"},
    {"NT 4 Server", Nt(4, 0).Type(3), "Microsoft Windows NT Server 4.0 (Build 2600)",
     "WinNT Srv 4.0 (Build 2600)"},
    {"NT 4 unknown type", Nt(4, 0).Type(4), "Microsoft Windows NT (Build 2600)",
     "WinNT (Build 2600)"},
    {"NT 3.51 takes the 4.0 labels", Nt(3, 51).Type(3),
     "Microsoft Windows NT Server 4.0 (Build 2600)", "WinNT Srv 4.0 (Build 2600)"},

    // NT 4 and earlier from the registry, with the version written out.
    {"WINNT", Nt(3, 51).Registry("WINNT"), "Microsoft Windows NT Workstation 3.51 (Build 2600)",
     "WinNT Wks 3.51 (Build 2600)"},
    {"LanmanNT", Nt(4, 0).Registry("LanmanNT"), "Microsoft Windows NT Server 4.0 (Build 2600)",
     "WinNT Srv 4.0 (Build 2600)"},
    {"ServerNT", Nt(4, 0).Registry("ServerNT"),
     "Microsoft Windows NT Advanced Server 4.0 (Build 2600)", "WinNT Adv Srv 4.0 (Build 2600)"},
    {"unknown registry text", Nt(3, 10).Registry("WINNT "),
     "Microsoft Windows NT 3.10 (Build 2600)", "WinNT 3.10 (Build 2600)"},
    {"empty registry text", Nt(4, 0).Registry(""), "Microsoft Windows NT 4.0 (Build 2600)",
     "WinNT 4.0 (Build 2600)"},

    // The service-pack and build part.
    {"build modulo 65536", Nt(5, 1).Build(264744).ServicePack("Service Pack 3"),
     "Microsoft Windows XP Professional Service Pack 3 (Build 2600)",
     "WinXP Prof SP3 (Build 2600)"},
    {"build 0xFFFFFFFF", Nt(6, 3).Build(0xFFFFFFFF), "Microsoft Windows NT 6.3 (Build 65535)",
     "WinNT 6.3 (Build 65535)"},
    {"lower-case prefix", Nt(5, 1).ServicePack("service pack 2"),
     "Microsoft Windows XP Professional Service Pack 2 (Build 2600)",
     "WinXP Prof SP2 (Build 2600)"},
    {"mixed-case prefix keeps the rest", Nt(5, 1).ServicePack("SERVICE PACK 2, v.2180"),
     "Microsoft Windows XP Professional Service Pack 2, v.2180 (Build 2600)",
     "WinXP Prof SP2, v.2180 (Build 2600)"},
    {"no prefix", Nt(5, 1).ServicePack("Update 1"),
     "Microsoft Windows XP Professional Update 1 (Build 2600)", "WinXP Prof Update 1 (Build 2600)"},
    {"prefix without its blank", Nt(5, 1).ServicePack("Service Pack"),
     "Microsoft Windows XP Professional Service Pack (Build 2600)", "WinXP Prof SP(Build 2600)"},
    {"prefix glued to the number", Nt(5, 1).ServicePack("Service Pack3"),
     "Microsoft Windows XP Professional Service Pack3 (Build 2600)",
     "WinXP Prof Service Pack3 (Build 2600)"},
    {"SP 6a with the hotfix", Nt(4, 0).ServicePack("Service Pack 6").Hotfix().Build(1381),
     "Microsoft Windows NT Workstation 4.0 Service Pack 6a (Build 1381)",
     "WinNT Wks 4.0 SP6a (Build 1381)"},
    {"SP 6a, any letter case", Nt(4, 0).Type(3).ServicePack("SERVICE PACK 6").Hotfix().Build(1381),
     "Microsoft Windows NT Server 4.0 Service Pack 6a (Build 1381)",
     "WinNT Srv 4.0 SP6a (Build 1381)"},
    {"SP 6 without the hotfix", Nt(4, 0).ServicePack("Service Pack 6").Build(1381),
     "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 1381)",
     "WinNT Wks 4.0 SP6 (Build 1381)"},
    {"hotfix with another service pack", Nt(4, 0).ServicePack("Service Pack 6 ").Hotfix(),
     "Microsoft Windows NT Workstation 4.0 Service Pack 6  (Build 2600)",
     "WinNT Wks 4.0 SP6  (Build 2600)"},
    {"hotfix outside NT 4", Nt(3, 51).ServicePack("Service Pack 6").Hotfix(),
     "Microsoft Windows NT Workstation 4.0 Service Pack 6 (Build 2600)",
     "WinNT Wks 4.0 SP6 (Build 2600)"},

    // Whole names of real systems.
    {"NT 4 Enterprise SP6",
     Nt(4, 0).Type(3).Suite(0x0002).ServicePack("Service Pack 6").Build(1381),
     "Microsoft Windows NT Server 4.0, Enterprise Edition Service Pack 6 (Build 1381)",
     "WinNT Srv 4.0, Ent EdSP6 (Build 1381)"},
    {"NT 3.51 SP5", Nt(3, 51).Registry("WINNT").ServicePack("Service Pack 5").Build(1057),
     "Microsoft Windows NT Workstation 3.51 Service Pack 5 (Build 1057)",
     "WinNT Wks 3.51 SP5 (Build 1057)"},
    {"2008 SP2, unlisted edition",
     Nt(6, 0).Type(3).Product(5).ServicePack("Service Pack 2").Build(6002),
     "Microsoft Windows Server 2008 Service Pack 2 (Build 6002)", "Win2008 SP2 (Build 6002)"},
};

TEST(ComposeHostOSName, EveryLabelInBothForms) {
  for (const NameCase& row : kNameCases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Compose(row.facts, NameForm::kLong), row.longText);
    EXPECT_EQ(Compose(row.facts, NameForm::kShort), row.shortText);
    // The short form has no vendor word to leave out and takes no line break.
    EXPECT_EQ(Compose(row.facts, NameForm::kShort, true), row.shortText);
  }
}

// The vendor word opens the long text and nothing else; the line break goes
// once between an NT name part and its suffix, nowhere on other platforms.
TEST(ComposeHostOSName, VendorAndLineBreakFlagsOnEveryRow) {
  for (const NameCase& row : kNameCases) {
    SCOPED_TRACE(row.name);
    const std::string full = row.longText;
    const std::string vendor = "Microsoft ";
    const bool hasVendor = full.compare(0, vendor.size(), vendor) == 0;
    EXPECT_EQ(Compose(row.facts, NameForm::kLong, true),
              hasVendor ? full.substr(vendor.size()) : full);

    const std::string broken = Compose(row.facts, NameForm::kLong, false, true);
    const size_t lineBreak = broken.find("\r\n");
    if (row.facts.platformId != 2) {
      EXPECT_EQ(broken, full);
      continue;
    }
    ASSERT_NE(lineBreak, std::string::npos);
    EXPECT_EQ(broken.find("\r\n", lineBreak + 1), std::string::npos);
    EXPECT_EQ(std::string(broken).erase(lineBreak, 2), full);
    // The break comes after the whole name part, right before the suffix.
    const std::string afterBreak = broken.substr(lineBreak + 2);
    EXPECT_EQ(afterBreak.find("Windows"), std::string::npos);
    if (row.facts.servicePackText[0] == 0) {
      EXPECT_EQ(afterBreak.compare(0, 7, "(Build "), 0);
    }
  }
}

// The longest name parts: a Server 2003 R2 Datacenter on Itanium (80
// characters in the long form) and an NT version of two ten-digit negative
// numbers (30 in the short form).
const HostVersionFacts kLongestLong = Nt(5, 2).Type(3).Arch(6).Suite(0x0080).R2().Build(65535);
const HostVersionFacts kLongestShort = Nt(0x80000000, 0x80000000).Build(65535);

TEST(ComposeHostOSName, LongestNamePartsAreEightyAndThirty) {
  EXPECT_EQ(Compose(kLongestLong, NameForm::kLong, false, true),
            "Microsoft Windows Server 2003 \"R2\" Datacenter Edition for Itanium-based Systems "
            "\r\n(Build 65535)");
  EXPECT_EQ(Compose(kLongestLong, NameForm::kLong).size(), 80u + 13u);
  EXPECT_EQ(Compose(kLongestShort, NameForm::kShort),
            "WinNT -2147483648.-2147483648 (Build 65535)");
}

// Service-pack texts of every length up to 127 characters, with and without
// the prefix, with the widest and narrowest builds: the suffix never passes
// 99 characters, ends in "(Build N)", and is cut, keeping a blank before
// "(Build", only when the whole text does not fit, and then fills the
// caller's buffer to its last byte. Compose() checks the buffer bounds.
TEST(ComposeHostOSName, LongServicePackTextsAreCutToTheSuffix) {
  const struct {
    const HostVersionFacts* facts;
    NameForm form;
    bool breakLine;
    size_t namePart;  // characters before the suffix
    size_t longest;
  } shapes[] = {
      {&kLongestLong, NameForm::kLong, true, 82, kLongNameBytes - 1},
      {&kLongestShort, NameForm::kShort, false, 30, kShortNameBytes - 1},
  };
  for (const auto& shape : shapes) {
    for (const char* prefix : {"Service Pack ", "service pack ", "Update "}) {
      for (uint32_t build : {65535u, 7u}) {
        for (size_t length = 1; length <= 127; ++length) {
          std::string servicePack = prefix;
          while (servicePack.size() < length)
            servicePack += static_cast<char>('a' + servicePack.size() % 26);
          servicePack.resize(length);
          SCOPED_TRACE(::testing::Message() << servicePack << " build " << build);
          HostVersionFacts facts = *shape.facts;
          facts.buildNumber = build;
          strcpy(facts.servicePackText, servicePack.c_str());

          const std::string text = Compose(facts, shape.form, false, shape.breakLine);
          ASSERT_GE(text.size(), shape.namePart);
          const std::string suffix = text.substr(shape.namePart);
          const std::string buildPart = "(Build " + std::to_string(build) + ")";
          EXPECT_LE(suffix.size(), 99u);
          EXPECT_LE(text.size(), shape.longest);
          ASSERT_GE(suffix.size(), buildPart.size() + 1);
          EXPECT_EQ(suffix.substr(suffix.size() - buildPart.size()), buildPart);

          // The uncut shown text, as it would stand with room enough.
          std::string shown = servicePack + " ";
          if (shown.size() >= 13 && strncasecmp(shown.c_str(), "service pack ", 13) == 0) {
            shown.replace(0, 13, shape.form == NameForm::kLong ? "Service Pack " : "SP");
          }
          const std::string written = suffix.substr(0, suffix.size() - buildPart.size());
          if (shown.size() + buildPart.size() <= 99) {
            EXPECT_EQ(written, shown);
          } else {
            EXPECT_EQ(suffix.size(), 99u);
            EXPECT_EQ(text.size(), shape.longest);  // the caller's whole buffer
            EXPECT_EQ(written, shown.substr(0, written.size() - 1) + " ");
          }
        }
      }
    }
  }
}

// A smaller buffer than the form needs still receives no byte beyond it.
TEST(ComposeHostOSName, NeverWritesPastTheGivenCapacity) {
  char text[24];
  memset(text, kSentinel, sizeof text);
  const size_t length = ComposeHostOSName(kLongestLong, NameForm::kLong, false, true, text, 16);
  EXPECT_EQ(length, 15u);
  EXPECT_STREQ(text, "Microsoft Windo");
  for (size_t i = 16; i < sizeof text; ++i) EXPECT_EQ(text[i], kSentinel) << i;
}

struct ExportCase {
  const char* name;
  platform::VersionRecord version;
  NameForm form;
  bool omitVendor;
  int32_t result;
  const char* expected;
};

// The export's steps: gather, compose, drop one trailing blank.
TEST(WriteHostOSName, WritesTheTrimmedNameOrUnknownOS) {
  const ExportCase cases[] = {
      {"98 trimmed", MakeVersion(1, 4, 10, 1998, ""), NameForm::kLong, false, 1,
       "Microsoft Windows 98"},
      {"98 short", MakeVersion(1, 4, 10, 1998, ""), NameForm::kShort, true, 1, "Win98"},
      {"95 trimmed once", MakeVersion(1, 4, 0, 950, "  "), NameForm::kLong, true, 1, "Windows 95"},
      {"platform 3", MakeVersion(3, 1, 0, 0, ""), NameForm::kLong, false, 1, ""},
  };
  for (const ExportCase& row : cases) {
    SCOPED_TRACE(row.name);
    FakeVersionSource source;
    source.version = row.version;
    char buffer[kLongNameBytes + 8];
    memset(buffer, kSentinel, sizeof buffer);
    EXPECT_EQ(WriteHostOSName(source, row.form, row.omitVendor, false, buffer), row.result);
    EXPECT_STREQ(buffer, row.expected);
    for (size_t i = strlen(row.expected) + 1; i < sizeof buffer; ++i) {
      EXPECT_EQ(buffer[i], kSentinel) << i;
    }
  }
}

TEST(WriteHostOSName, UnreadableVersionGivesUnknownOSAndZero) {
  FakeVersionSource source;
  source.refuseExtendedQuery = source.refuseBasicQuery = true;
  for (NameForm form : {NameForm::kLong, NameForm::kShort}) {
    char buffer[16];
    memset(buffer, kSentinel, sizeof buffer);
    EXPECT_EQ(WriteHostOSName(source, form, false, true, buffer), 0);
    EXPECT_STREQ(buffer, "Unknown OS");
    for (size_t i = 11; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
  }
}

TEST(WriteHostOSName, NullBufferGivesZeroAndAsksNothing) {
  FakeVersionSource source;
  source.version = MakeVersion(2, 5, 1, 2600, "");
  EXPECT_EQ(WriteHostOSName(source, NameForm::kLong, false, false, nullptr), 0);
  EXPECT_EQ(WriteHostOSName(source, NameForm::kShort, true, false, nullptr), 0);
  EXPECT_TRUE(source.calls.empty());
}

// The system's own version source: none on POSIX, the real one on Windows.
TEST(WriteHostOSName, SystemSourceAnswersConsistently) {
  char longName[kLongNameBytes];
  char shortName[kShortNameBytes];
  const int32_t longResult =
      WriteHostOSName(platform::SystemVersionSource(), NameForm::kLong, false, false, longName);
  const int32_t shortResult =
      WriteHostOSName(platform::SystemVersionSource(), NameForm::kShort, true, false, shortName);
  EXPECT_EQ(longResult, shortResult);
#if defined(_WIN32)
  EXPECT_EQ(longResult, 1);
  EXPECT_EQ(strncmp(longName, "Microsoft Windows", 17), 0) << longName;
  EXPECT_EQ(strncmp(shortName, "Win", 3), 0) << shortName;
#else
  EXPECT_EQ(longResult, 0);
  EXPECT_STREQ(longName, "Unknown OS");
  EXPECT_STREQ(shortName, "Unknown OS");
#endif
}

}  // namespace
}  // namespace tms
