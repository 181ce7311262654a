// Fuzzes the OS name: random HostVersionFacts records composed in both
// forms with every flag, and random answers of the version queries, the
// registry and the system metrics written out as the exports write them.
// Service-pack texts run up to 127 bytes with no terminator inside. Every
// output buffer is a heap block of its exact size: the long name must fit
// 181 characters and the short 129 without being cut, a smaller buffer
// must hold a terminated prefix of the same text, and NT names must end in
// the low 16 bits of the build.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "fakes/fake_version_source.h"
#include "fuzz/fuzz_input.h"
#include "osname/host_os_name.h"
#include "osname/host_version_facts.h"

namespace {

using tms::HostVersionFacts;
using tms::NameForm;
using tms::fuzz::Check;
using tms::fuzz::ExactBlock;
using tms::fuzz::FuzzInput;
using tms::testing::FakeVersionSource;

constexpr char kGuard = static_cast<char>(0xCC);
// Room for any composition, so that its natural length shows.
constexpr size_t kRoomyBytes = 4096;

// Fills a text field of `size` bytes with at most size - 1 bytes and its
// terminator: a label the names look for, in any letter case and perhaps
// followed by more, or any bytes.
template <size_t kSize>
void PickText(FuzzInput& input, char (&field)[kSize], const char* const (&known)[4]) {
  std::string text;
  switch (input.Byte() % 3) {
    case 0:
      text = input.Pick(known);
      for (char& c : text) {
        if (input.Flag() && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
      if (input.Flag()) text += input.Text(kSize);
      break;
    case 1:
      text = std::string(kSize - 1, 'x');  // the longest text, filled to the end
      for (char& c : text) c = static_cast<char>(input.Byte() | 1);
      break;
    default:
      text = input.Text(kSize);
      break;
  }
  text.resize(text.size() < kSize - 1 ? text.size() : kSize - 1);
  memcpy(field, text.c_str(), text.size() + 1);
}

constexpr const char* kServicePacks[4] = {"Service Pack 6", "Service Pack ", " C", " A "};
constexpr const char* kProductTypes[4] = {"WINNT", "LANMANNT", "SERVERNT", ""};

uint32_t PickPlatform(FuzzInput& input) { return input.Flag() ? input.Count(3) : input.Word(); }

uint32_t PickVersionNumber(FuzzInput& input) {
  const uint32_t known[] = {0, 1, 2, 3, 4, 5, 6, 10, 51, 90, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  return input.Flag() ? input.Pick(known) : input.Word();
}

HostVersionFacts PickFacts(FuzzInput& input) {
  HostVersionFacts facts = {};
  facts.platformId = PickPlatform(input);
  facts.majorVersion = PickVersionNumber(input);
  facts.minorVersion = PickVersionNumber(input);
  facts.buildNumber = input.Word();
  PickText(input, facts.servicePackText, kServicePacks);
  facts.servicePackMajor = input.Unit();
  facts.servicePackMinor = input.Unit();
  facts.suiteMask = input.Unit();
  facts.productType = input.Byte();
  facts.hasExtendedFacts = input.Flag();
  const uint16_t architectures[] = {0, 6, 9, 0xFFFF};
  facts.processorArchitecture = input.Flag() ? input.Pick(architectures) : input.Unit();
  facts.productNumber = input.Flag() ? input.Count(50) : input.Word();
  PickText(input, facts.registryProductType, kProductTypes);
  facts.hasQ246009Hotfix = input.Flag();
  facts.isServerR2 = input.Flag();
  facts.isMediaCenter = input.Flag();
  facts.isStarter = input.Flag();
  facts.isTabletPC = input.Flag();
  return facts;
}

// The most characters a composed name may have: the exports' buffers hold
// 182 and 130 bytes; a short name with a line break, which no export asks
// for, has two more.
size_t LongestName(NameForm form, bool breakLine) {
  if (form == NameForm::kLong) return tms::kLongNameBytes - 1;
  return tms::kShortNameBytes - 1 + (breakLine ? 2 : 0);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void CheckComposition(FuzzInput& input, const HostVersionFacts& facts) {
  const NameForm form = input.Flag() ? NameForm::kLong : NameForm::kShort;
  const bool omitVendor = input.Flag();
  const bool breakLine = input.Flag();
  const size_t longest = LongestName(form, breakLine);

  ExactBlock roomy(kRoomyBytes, kGuard);
  const size_t length =
      tms::ComposeHostOSName(facts, form, omitVendor, breakLine, roomy.get(), roomy.size());
  const std::string name(roomy.get());
  Check(length == name.size());
  Check(length <= longest);

  ExactBlock exact(longest + 1, kGuard);
  Check(tms::ComposeHostOSName(facts, form, omitVendor, breakLine, exact.get(), exact.size()) ==
        length);
  Check(name == exact.get());

  // Too small a buffer holds as much of the same text as fits.
  const size_t capacity = 1 + static_cast<size_t>(input.Count(static_cast<int32_t>(longest)));
  ExactBlock cut(capacity, kGuard);
  const size_t cutLength =
      tms::ComposeHostOSName(facts, form, omitVendor, breakLine, cut.get(), cut.size());
  Check(cutLength == (length < capacity ? length : capacity - 1));
  Check(name.compare(0, cutLength, cut.get()) == 0 && cut.get()[cutLength] == 0);

  if (facts.platformId > 2) Check(name.empty());
  if (facts.platformId == 2) {
    char build[24];
    snprintf(build, sizeof build, "(Build %u)", facts.buildNumber & 0xFFFF);
    Check(EndsWith(name, build));
  }
  if (facts.platformId < 2) {
    const bool vendor = name.compare(0, 10, "Microsoft ") == 0;
    Check(vendor == (form == NameForm::kLong && !omitVendor));
  }
}

// Answers of the system as the version source gives them.
FakeVersionSource PickSource(FuzzInput& input) {
  FakeVersionSource source;
  source.version = tms::platform::VersionRecord{};
  source.version.platformId = PickPlatform(input);
  source.version.majorVersion = PickVersionNumber(input);
  source.version.minorVersion = PickVersionNumber(input);
  source.version.buildNumber = input.Word();
  PickText(input, source.version.servicePackText, kServicePacks);
  source.version.servicePackMajor = input.Unit();
  source.version.servicePackMinor = input.Unit();
  source.version.suiteMask = input.Unit();
  source.version.productType = input.Byte();
  source.refuseExtendedQuery = input.Flag();
  source.refuseBasicQuery = input.Byte() % 8 == 0;
  source.hasKernelVersion = input.Flag();
  source.kernelVersion.platformId = 2;
  source.kernelVersion.majorVersion = PickVersionNumber(input);
  source.kernelVersion.minorVersion = PickVersionNumber(input);
  source.kernelVersion.buildNumber = input.Word();
  PickText(input, source.kernelVersion.servicePackText, kServicePacks);
  source.hasNativeSystemInfo = input.Flag();
  source.nativeArchitecture = input.Unit();
  source.emulatedArchitecture = input.Unit();
  source.hasProductInfo = input.Flag();
  source.productNumber = input.Count(50);
  source.hasProductOptionsKey = input.Flag();
  source.hasProductTypeValue = input.Flag();
  // Registry values may hold zeros and need not end in one.
  source.productTypeBytes = input.Bytes(96);
  source.reportedProductTypeBytes = input.Flag() ? input.Count(100) : 0;
  source.hasHotfixKey = input.Flag();
  for (int32_t& metric : source.metrics) metric = input.Flag() ? 1 : 0;
  return source;
}

template <size_t kSize>
bool IsTerminatedText(const char (&field)[kSize]) {
  return memchr(field, 0, kSize) != nullptr;
}

void CheckExport(FuzzInput& input) {
  FakeVersionSource source = PickSource(input);
  FakeVersionSource sameSource = source;
  const NameForm form = input.Flag() ? NameForm::kLong : NameForm::kShort;
  const bool isLong = form == NameForm::kLong;
  // The short export always leaves the vendor out and never breaks the line.
  const bool omitVendor = isLong ? input.Flag() : true;
  const bool breakLine = isLong && input.Flag();
  ExactBlock buffer(isLong ? tms::kLongNameBytes : tms::kShortNameBytes, kGuard);
  const int32_t result = tms::WriteHostOSName(source, form, omitVendor, breakLine, buffer.get());

  HostVersionFacts facts;
  if (!tms::GatherHostVersionFacts(sameSource, &facts)) {
    Check(result == 0);
    Check(strcmp(buffer.get(), "Unknown OS") == 0);
    return;
  }
  Check(result == 1);
  Check(IsTerminatedText(facts.servicePackText) && IsTerminatedText(facts.registryProductType));
  ExactBlock roomy(kRoomyBytes, kGuard);
  std::string expected(roomy.get(), tms::ComposeHostOSName(facts, form, omitVendor, breakLine,
                                                           roomy.get(), roomy.size()));
  if (!expected.empty() && expected.back() == ' ') expected.pop_back();
  Check(expected == buffer.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  while (!input.empty()) {
    if (input.Flag()) {
      CheckExport(input);
    } else {
      CheckComposition(input, PickFacts(input));
    }
  }
  return 0;
}
