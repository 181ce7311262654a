// Fuzzes the OS name with random answers of the version queries, the
// registry and the system metrics: the facts gathered from them, the names
// composed from those facts in both forms under every flag, and what the
// exports write. Service-pack texts run up to 127 bytes with no terminator
// inside; registry values need not end in one. Every buffer is a heap block
// of its exact size. Checked are properties that hold for every name (the
// unit tests hold the names themselves): the bounds, where the vendor word
// and the line break go, the service-pack and build part, the export's trim
// and its failure text.
#include <stdint.h>
#include <string.h>
#include <strings.h>

#include <algorithm>
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

// Fills a service-pack text with at most 127 bytes and its terminator: now
// and then a text the names look for, in any letter case and perhaps
// followed by more, else any bytes up to the longest text.
void PickServicePack(FuzzInput& input, char (&field)[128]) {
  constexpr const char* kKnown[] = {"Service Pack 6", "Service Pack ", " C", " A "};
  std::string text;
  if (input.Byte() % 3 == 0) {
    text = input.Pick(kKnown);
    for (char& c : text) {
      if (input.Flag() && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (input.Flag()) text += input.Text(sizeof field);
  } else {
    text = input.Text(sizeof field);
  }
  text.resize(std::min(text.size(), sizeof field - 1));
  memcpy(field, text.c_str(), text.size() + 1);
}

uint32_t PickVersionNumber(FuzzInput& input) {
  const uint32_t known[] = {0, 1, 2, 3, 4, 5, 6, 10, 51, 90, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  return input.Flag() ? input.Pick(known) : input.Word();
}

FakeVersionSource PickSource(FuzzInput& input) {
  FakeVersionSource source;
  tms::platform::VersionRecord& version = source.version;
  version.platformId = input.Flag() ? input.Count(3) : input.Word();
  version.majorVersion = PickVersionNumber(input);
  version.minorVersion = PickVersionNumber(input);
  version.buildNumber = input.Word();
  PickServicePack(input, version.servicePackText);
  version.servicePackMajor = input.Unit();
  version.servicePackMinor = input.Unit();
  version.suiteMask = input.Unit();
  version.productType = input.Byte();
  source.refuseExtendedQuery = input.Flag();
  source.refuseBasicQuery = input.Byte() % 8 == 0;
  source.hasKernelVersion = input.Flag();
  source.kernelVersion.platformId = 2;
  source.kernelVersion.majorVersion = PickVersionNumber(input);
  source.kernelVersion.minorVersion = PickVersionNumber(input);
  source.kernelVersion.buildNumber = input.Word();
  PickServicePack(input, source.kernelVersion.servicePackText);
  source.hasNativeSystemInfo = input.Flag();
  source.nativeArchitecture = input.Unit();
  source.emulatedArchitecture = input.Unit();
  source.hasProductInfo = input.Flag();
  source.productNumber = input.Count(50);
  source.hasProductType = input.Flag();
  // Registry values may hold zeros and need not end in one.
  source.productTypeBytes = input.Bytes(96);
  source.reportedProductTypeBytes = input.Flag() ? input.Count(100) : 0;
  source.hasHotfixKey = input.Flag();
  for (int32_t& metric : source.metrics) metric = input.Flag() ? 1 : 0;
  return source;
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

// How every NT name ends: the low 16 bits of the build.
std::string BuildPart(const HostVersionFacts& facts) {
  return "(Build " + std::to_string(facts.buildNumber & 0xFFFF) + ")";
}

// The long names under each pair of flags, [omitVendor][breakLine]: the
// vendor word opens the name part and nothing else; the line break goes
// once, between an NT name part (80 characters at most) and the
// service-pack and build part (99 at most), and nowhere off NT. Returns
// that part ("" off NT).
std::string CheckFlags(const std::string (&names)[2][2], uint32_t platformId) {
  std::string namePart = names[1][0];
  std::string suffix;
  for (int omitVendor : {0, 1}) {
    const std::string& broken = names[omitVendor][1];
    if (platformId != 2) {
      Check(broken == names[omitVendor][0]);
      continue;
    }
    // Labels hold no line break, so the first one is the one inserted.
    const size_t lineBreak = broken.find("\r\n");
    Check(lineBreak != std::string::npos);
    Check(std::string(broken).erase(lineBreak, 2) == names[omitVendor][0]);
    namePart = broken.substr(0, lineBreak);
    suffix = broken.substr(lineBreak + 2);
  }
  const std::string vendor = namePart.empty() ? "" : "Microsoft ";
  for (int breakLine : {0, 1}) Check(names[0][breakLine] == vendor + names[1][breakLine]);
  Check(vendor.size() + namePart.size() <= 80 && suffix.size() <= 99);
  return suffix;
}

// The long form shows the service-pack text whole (only the letter case of
// a leading "Service Pack " may change) and a blank, or cut to fill the
// 99-character part. NT 4's "6a" is left to the unit tests.
void CheckServicePackShown(const HostVersionFacts& facts, const std::string& suffix) {
  const std::string servicePack = facts.servicePackText;
  if (servicePack.empty() || (facts.majorVersion == 4 && facts.hasQ246009Hotfix)) return;
  Check(suffix.size() > BuildPart(facts).size());
  const size_t shown = suffix.size() - BuildPart(facts).size() - 1;
  Check(suffix[shown] == ' ' && strncasecmp(suffix.c_str(), servicePack.c_str(), shown) == 0);
  Check(shown == servicePack.size() || (shown < servicePack.size() && suffix.size() == 99));
}

// Composes into `buffer`; checks the length returned and the terminator.
size_t Compose(const HostVersionFacts& facts, NameForm form, bool omitVendor, bool breakLine,
               ExactBlock& buffer) {
  const size_t length =
      tms::ComposeHostOSName(facts, form, omitVendor, breakLine, buffer.get(), buffer.size());
  Check(length < buffer.size() && strlen(buffer.get()) == length);
  return length;
}

// The name fits its bound; a buffer of just the size the form needs, and a
// smaller one, hold as much of the same text as fits.
void CheckBuffers(FuzzInput& input, const HostVersionFacts& facts) {
  const NameForm form = input.Flag() ? NameForm::kLong : NameForm::kShort;
  const bool omitVendor = input.Flag();
  const bool breakLine = input.Flag();
  const size_t longest = LongestName(form, breakLine);
  ExactBlock roomy(kRoomyBytes, kGuard);
  const std::string name(roomy.get(), Compose(facts, form, omitVendor, breakLine, roomy));
  Check(name.size() <= longest);
  for (size_t capacity :
       {longest + 1, 1 + static_cast<size_t>(input.Count(static_cast<int32_t>(longest)))}) {
    ExactBlock buffer(capacity, kGuard);
    const size_t length = Compose(facts, form, omitVendor, breakLine, buffer);
    Check(length == (name.size() < capacity ? name.size() : capacity - 1));
    Check(name.compare(0, length, buffer.get()) == 0);
  }
}

// What an export writes into a block of exactly its buffer's size: the
// name with the blank that closes a label dropped (none ends in two), or
// "Unknown OS" when the version cannot be read.
std::string Export(FakeVersionSource& source, NameForm form, bool omitVendor, bool breakLine,
                   bool readable) {
  ExactBlock buffer(form == NameForm::kLong ? tms::kLongNameBytes : tms::kShortNameBytes, kGuard);
  Check(tms::WriteHostOSName(source, form, omitVendor, breakLine, buffer.get()) == readable);
  const std::string text = buffer.get();
  Check(readable || text == "Unknown OS");
  Check(text.empty() || text.back() != ' ');
  return text;
}

// The exports pass the flags on as given and trim nothing of an NT name;
// both forms end in the same build part; the short form has no vendor word
// to leave out.
void CheckExports(FakeVersionSource& source, const HostVersionFacts& facts, bool readable) {
  std::string longNames[2][2];
  for (int omitVendor : {0, 1}) {
    for (int breakLine : {0, 1}) {
      longNames[omitVendor][breakLine] =
          Export(source, NameForm::kLong, omitVendor, breakLine, readable);
    }
  }
  const std::string shortName = Export(source, NameForm::kShort, true, false, readable);
  Check(Export(source, NameForm::kShort, false, false, readable) == shortName);
  if (!readable) return;
  const std::string suffix = CheckFlags(longNames, facts.platformId);
  if (facts.platformId != 2) return;
  Check(EndsWith(suffix, BuildPart(facts)) && EndsWith(shortName, BuildPart(facts)));
  CheckServicePackShown(facts, suffix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  while (!input.empty()) {
    FakeVersionSource source = PickSource(input);
    const bool readable = !(source.refuseExtendedQuery && source.refuseBasicQuery);
    HostVersionFacts facts;
    Check(tms::GatherHostVersionFacts(source, &facts) == readable);
    Check(memchr(facts.servicePackText, 0, sizeof facts.servicePackText) != nullptr);
    Check(memchr(facts.registryProductType, 0, sizeof facts.registryProductType) != nullptr);
    CheckBuffers(input, facts);
    CheckExports(source, facts, readable);
  }
  return 0;
}
