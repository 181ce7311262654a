// Composition of the OS name: the choice of product and edition labels, and
// the service-pack and build part.
#include "osname/host_os_name.h"

#include "platform/ascii_case.h"
#include "osname/bounded_text.h"
#include "platform/text.h"

namespace tms {
namespace {

// Every label exists in both forms; a blank at the end separates it from
// whatever follows.
struct Label {
  const char* longText;
  const char* shortText;
};

struct ProductEdition {
  uint32_t productNumber;
  Label label;
};

// Editions of NT 6.0 and 6.1 by GetProductInfo's number.
constexpr ProductEdition kProductEditions[] = {
    {1, {"Ultimate ", "Ultimate "}},
    {2, {"Home Basic ", "Home Basic "}},
    {3, {"Home Premium ", "Home Premium "}},
    {4, {"Enterprise ", "Ent Ed "}},
    {6, {"Business ", "Business Ed "}},
    {7, {"Standard Edition ", "Std Ed "}},
    {8, {"Datacenter Edition ", "Data Ed "}},
    {9, {"Small Business Server ", "Sm Business "}},
    {10, {"Enterprise Edition ", "Ent Ed "}},
    {11, {"Starter ", "Starter "}},
    {12, {"Datacenter Edition (core installation) ", "Data Ed (core) "}},
    {13, {"Standard Edition (core installation) ", "Std Ed (core) "}},
    {14, {"Enterprise Edition (core installation) ", "Ent Ed (core) "}},
    {15, {"Enterprise Edition for Itanium-based Systems ", "Ent Ed IA64 "}},
    {17, {"Web Server Edition ", "Web Ed "}},
    {18, {"Cluster Server Edition ", "Cluster Ed "}},
    {25, {"Small Business Server Premium Edition ", "Sm Business Prem "}},
    {48, {"Professional ", "Prof "}},
};

constexpr char kServicePackPrefix[] = "Service Pack ";
constexpr size_t kServicePackPrefixLength = sizeof kServicePackPrefix - 1;
// The service-pack and build part holds at most this many characters, less one.
constexpr size_t kSuffixBytes = 100;

bool HasSuite(const HostVersionFacts& facts, uint16_t bit) {
  return (facts.suiteMask & bit) != 0;
}

// Appends labels of one form to the text being composed.
class NameWriter {
 public:
  NameWriter(NameForm form, bool omitVendor, BoundedText& text)
      : form_(form), omitVendor_(omitVendor), text_(text) {}

  bool isLong() const { return form_ == NameForm::kLong; }

  // The product label, preceded by the vendor word in the long form. A text
  // has at most one, so the vendor word can only open the text.
  void Base(const Label& label) {
    if (isLong() && !omitVendor_) text_.Append("Microsoft ");
    Append(label);
  }
  void Append(const Label& label) { text_.Append(isLong() ? label.longText : label.shortText); }
  void Append(const char* bothForms) { text_.Append(bothForms); }
  void AppendDecimal(uint32_t number) { text_.AppendDecimal(static_cast<int32_t>(number)); }
  // "major.minor" written as signed numbers, as "%d.%d" does.
  void AppendVersion(const HostVersionFacts& facts) {
    AppendDecimal(facts.majorVersion);
    text_.Append(".");
    AppendDecimal(facts.minorVersion);
  }

 private:
  NameForm form_;
  bool omitVendor_;
  BoundedText& text_;
};

// The character at index 1 of the service-pack text marks the release of
// Windows 95 and 98; a text shorter than two characters has none.
bool HasReleaseLetter(const HostVersionFacts& facts, char first, char second) {
  if (facts.servicePackText[0] == 0) return false;
  const char letter = facts.servicePackText[1];
  return letter != 0 && (letter == first || letter == second);
}

void ComposeWindowsName(const HostVersionFacts& facts, NameWriter& name) {
  if (facts.majorVersion == 4 && facts.minorVersion == 0) {
    name.Base({"Windows 95 ", "Win95 "});
    if (HasReleaseLetter(facts, 'C', 'B')) name.Append("OSR2");
  } else if (facts.majorVersion == 4 && facts.minorVersion == 10) {
    name.Base({"Windows 98 ", "Win98"});
    if (HasReleaseLetter(facts, 'A', 'B')) name.Append({"Second Edition", "SE"});
  } else if (facts.majorVersion == 4 && facts.minorVersion == 90) {
    name.Base({"Windows Millennium Edition", "WinME"});
  } else {
    name.Base({"Windows 9x", "Win9x"});
  }
}

void AppendProductEdition(const HostVersionFacts& facts, NameWriter& name) {
  for (const ProductEdition& edition : kProductEditions) {
    if (edition.productNumber == facts.productNumber) {
      name.Append(edition.label);
      return;
    }
  }
}

void AppendServer2003Edition(const HostVersionFacts& facts, NameWriter& name) {
  const bool datacenter = HasSuite(facts, kSuiteDatacenter);
  const bool enterprise = HasSuite(facts, kSuiteEnterprise);
  if (facts.processorArchitecture == kArchitectureItanium) {
    if (datacenter) {
      name.Append({"Datacenter Edition for Itanium-based Systems ", "Data Ed IA64 "});
    } else if (enterprise) {
      name.Append({"Enterprise Edition for Itanium-based Systems ", "Ent Ed IA64 "});
    }
  } else if (facts.processorArchitecture == kArchitectureX64) {
    if (datacenter) {
      name.Append({"Datacenter x64 Edition ", "Data x64 Ed "});
    } else if (enterprise) {
      name.Append({"Enterprise x64 Edition ", "Ent x64 Ed "});
    } else {
      name.Append({"Standard x64 Edition ", "Std x64 Ed "});
    }
  } else if (datacenter) {
    name.Append({"Datacenter Edition ", "Data Ed "});
  } else if (enterprise) {
    name.Append({"Enterprise Edition ", "Ent Ed "});
  } else if (HasSuite(facts, kSuiteBlade)) {
    name.Append({"Web Edition ", "Web Ed "});
  } else {
    name.Append({"Standard Edition ", "Std Ed "});
  }
}

void AppendXpEdition(const HostVersionFacts& facts, NameWriter& name) {
  if (HasSuite(facts, kSuitePersonal)) {
    name.Append({"Home Edition ", "Home "});
  } else if (HasSuite(facts, kSuiteEmbedded)) {
    name.Append({"Embedded ", "Embed "});
  } else if (facts.isMediaCenter) {
    name.Append({"Media Center Edition ", "Media Center "});
  } else if (facts.isStarter) {
    name.Append({"Starter Edition ", "Starter "});
  } else if (facts.isTabletPC) {
    name.Append({"Tablet PC Edition ", "Tablet PC "});
  } else {
    name.Append({"Professional ", "Prof "});
  }
}

void Append2000Edition(const HostVersionFacts& facts, NameWriter& name) {
  if (facts.productType == kProductWorkstation) {
    if (HasSuite(facts, kSuitePersonal)) {
      name.Append({"Home Edition ", "Home "});
    } else if (HasSuite(facts, kSuiteEmbedded)) {
      name.Append({"Embedded ", "Embed "});
    } else {
      name.Append({"Professional ", "Prof "});
    }
  } else if (HasSuite(facts, kSuiteDatacenter)) {
    name.Append({"Datacenter Server ", "Data Srv "});
  } else if (HasSuite(facts, kSuiteEnterprise)) {
    name.Append({"Advanced Server ", "Adv Srv "});
  } else {
    name.Append({"Server ", "Srv "});
  }
}

// NT 4 and earlier: the edition from the extended record when there is
// one, otherwise from the registry's product type followed by the version.
void AppendNt4Edition(const HostVersionFacts& facts, NameWriter& name) {
  if (facts.hasExtendedFacts) {
    if (facts.productType == kProductWorkstation) {
      name.Append({"Workstation 4.0 ", "Wks 4.0 "});
    } else if (facts.productType == kProductDomainController || facts.productType == kProductServer) {
      if (HasSuite(facts, kSuiteEnterprise)) {
        name.Append({"Server 4.0, Enterprise Edition ", "Srv 4.0, Ent Ed"});
      } else {
        name.Append({"Server 4.0 ", "Srv 4.0 "});
      }
    }
    return;
  }
  if (EqualsIgnoringCase(facts.registryProductType, "WINNT")) {
    name.Append({"Workstation ", "Wks "});
  } else if (EqualsIgnoringCase(facts.registryProductType, "LANMANNT")) {
    name.Append({"Server ", "Srv "});
  } else if (EqualsIgnoringCase(facts.registryProductType, "SERVERNT")) {
    name.Append({"Advanced Server ", "Adv Srv "});
  }
  name.AppendVersion(facts);
  name.Append(" ");
}

void ComposeNtName(const HostVersionFacts& facts, NameWriter& name) {
  const uint32_t major = facts.majorVersion;
  const uint32_t minor = facts.minorVersion;
  const bool workstation = facts.productType == kProductWorkstation;
  if (major > 6 || (major == 6 && minor >= 3)) {
    name.Base({"Windows NT ", "WinNT "});
    name.AppendVersion(facts);
    name.Append(" ");
  } else if (major == 6 && minor == 2) {
    name.Base(workstation ? Label{"Windows 8 ", "Win8 "}
                          : Label{"Windows Server 2012 ", "Win2012 "});
  } else if (major == 6 && minor == 1) {
    name.Base(workstation ? Label{"Windows 7 ", "Win7 "}
                          : Label{"Windows Server 2008 R2 ", "Win2008 R2 "});
    AppendProductEdition(facts, name);
  } else if (major == 6 && minor == 0) {
    name.Base(workstation ? Label{"Windows Vista ", "Win Vista "}
                          : Label{"Windows Server 2008 ", "Win2008 "});
    AppendProductEdition(facts, name);
  } else if (major == 5 && minor == 2) {
    if (workstation && facts.processorArchitecture == kArchitectureX64) {
      name.Base({"Windows XP Professional x64 Edition ", "WinXP Prof x64"});
    } else {
      name.Base({"Windows Server 2003 ", "Win2003 "});
      if (facts.isServerR2) name.Append("\"R2\" ");
      AppendServer2003Edition(facts, name);
    }
  } else if (major == 5 && minor == 1) {
    name.Base({"Windows XP ", "WinXP "});
    AppendXpEdition(facts, name);
  } else if (major == 5 && minor == 0) {
    name.Base({"Windows 2000 ", "Win2000 "});
    Append2000Edition(facts, name);
  } else if (major <= 4) {
    name.Base({"Windows NT ", "WinNT "});
    AppendNt4Edition(facts, name);
  }
  // 5.3 and above within 5 has no name part: the text is the suffix alone.
}

// Appends the service-pack and build part of an NT name, at most 99
// characters, straight to the name.
void AppendNtSuffix(const HostVersionFacts& facts, NameForm form, BoundedText& text) {
  const bool isLong = form == NameForm::kLong;
  char buildPart[16];
  BoundedText build(buildPart);
  build.Append("(Build ");
  build.AppendDecimal(static_cast<int32_t>(facts.buildNumber & 0xFFFF));
  build.Append(")");

  const char* servicePack = facts.servicePackText;
  if (facts.majorVersion == 4 && facts.hasQ246009Hotfix &&
      EqualsIgnoringCase(servicePack, "Service Pack 6")) {
    text.Append(isLong ? "Service Pack 6a " : "SP6a ");
    text.Append(buildPart);
    return;
  }

  // The shown text is the service-pack text and a blank; a leading
  // "Service Pack " in any letter case becomes "Service Pack " or "SP".
  // It is written as a head (the new prefix), a body and a closing blank.
  // The text "Service Pack" alone takes the added blank into its prefix.
  const char* head = "";
  const char* body = servicePack;
  const char* blank = servicePack[0] != 0 ? " " : "";
  if (StartsWithIgnoringCase(servicePack, "Service Pack") &&
      (servicePack[kServicePackPrefixLength - 1] == ' ' ||
       servicePack[kServicePackPrefixLength - 1] == 0)) {
    head = isLong ? kServicePackPrefix : "SP";
    if (servicePack[kServicePackPrefixLength - 1] == 0) {
      body = "";
      blank = "";
    } else {
      body = servicePack + kServicePackPrefixLength;
    }
  }

  // A text too long for the part is cut, keeping a blank before "(Build".
  const size_t headLength = static_cast<size_t>(TextLength(head));
  const size_t bodyLength = static_cast<size_t>(TextLength(body));
  const size_t room = kSuffixBytes - 1 - build.length();
  text.Append(head);
  if (headLength + bodyLength + static_cast<size_t>(TextLength(blank)) > room) {
    text.Append(body, room - 1 - headLength);
    text.Append(" ");
  } else {
    text.Append(body);
    text.Append(blank);
  }
  text.Append(buildPart);
}

}  // namespace

size_t ComposeHostOSName(const HostVersionFacts& facts, NameForm form, bool omitVendor,
                         bool breakLine, char* text, size_t capacity) {
  BoundedText composed(text, capacity);
  NameWriter name(form, omitVendor, composed);
  if (facts.platformId == platform::kPlatformIdWin32s) {
    name.Base({"Windows ", "Win "});
    name.AppendVersion(facts);
    name.Append(" (Win32s)");
  } else if (facts.platformId == platform::kPlatformIdWindows) {
    ComposeWindowsName(facts, name);
  } else if (facts.platformId == platform::kPlatformIdNt) {
    ComposeNtName(facts, name);
    if (breakLine) composed.Append("\r\n");
    AppendNtSuffix(facts, form, composed);
  }
  return composed.length();
}

bool WriteHostOSName(platform::VersionSource& source, NameForm form, bool omitVendor,
                     bool breakLine, char* buffer) {
  if (buffer == nullptr) return false;
  buffer[0] = 0;
  const size_t capacity = form == NameForm::kLong ? kLongNameBytes : kShortNameBytes;
  HostVersionFacts facts;
  if (!GatherHostVersionFacts(source, &facts)) {
    BoundedText(buffer, capacity).Append("Unknown OS");
    return false;
  }
  char name[kLongNameBytes];
  size_t length = ComposeHostOSName(facts, form, omitVendor, breakLine, name, capacity);
  if (length > 0 && name[length - 1] == ' ') name[--length] = 0;
  CopyUnits(buffer, name, length + 1);
  return true;
}

}  // namespace tms
