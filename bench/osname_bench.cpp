// The composition of OS names beside formatting the finished text once,
// with its labels already chosen. The OS-name exports themselves are timed
// under Wine: on POSIX they have no version facts to read.
#include <stdio.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "benchmark_pairs.h"
#include "osname/host_os_name.h"

namespace tms::bench {
namespace {

HostVersionFacts NtFacts(uint32_t major, uint32_t minor, uint32_t build, const char* servicePack) {
  HostVersionFacts facts = {};
  facts.platformId = 2;
  facts.majorVersion = major;
  facts.minorVersion = minor;
  facts.buildNumber = build;
  snprintf(facts.servicePackText, sizeof facts.servicePackText, "%s", servicePack);
  facts.productType = 1;
  facts.hasExtendedFacts = true;
  return facts;
}

struct NameCase {
  HostVersionFacts facts;
  NameForm form;
  bool breakLine;
  // The same text as one format and its parts.
  const char* format;
  const char* parts[4];
  int build;
};

NameCase XpProfessional() {
  return {NtFacts(5, 1, 2600, "Service Pack 3"), NameForm::kLong, false,
          "%s%s%s%s(Build %d)", {"Microsoft ", "Windows XP ", "Professional ", "Service Pack 3 "},
          2600};
}

NameCase Nt4Short() {
  NameCase name = {NtFacts(4, 0, 1381, "Service Pack 6"), NameForm::kShort, false,
                   "%s%s%s%s(Build %d)", {"", "WinNT ", "Wks 4.0 ", "SP6a "}, 1381};
  name.facts.hasQ246009Hotfix = true;
  return name;
}

// The longest name part, a line break and an 85-character service pack.
NameCase LongestName() {
  NameCase name = {
      NtFacts(5, 2, 3790,
              "Service Pack 2 with the longest text that still fits the build part at its end"),
      NameForm::kLong,
      true,
      "%s%s%s%s(Build %d)",
      {"Microsoft ", "Windows Server 2003 \"R2\" ",
       "Datacenter Edition for Itanium-based Systems \r\n",
       "Service Pack 2 with the longest text that still fits the build part at its end "},
      3790};
  name.facts.productType = 3;
  name.facts.processorArchitecture = kArchitectureItanium;
  name.facts.suiteMask = kSuiteDatacenter;
  name.facts.isServerR2 = true;
  return name;
}

// Both sides of a pair must write the same text.
bool SameText(const NameCase& name) {
  char composed[kLongNameBytes];
  char formatted[kLongNameBytes];
  ComposeHostOSName(name.facts, name.form, false, name.breakLine, composed, sizeof composed);
  snprintf(formatted, sizeof formatted, name.format, name.parts[0], name.parts[1], name.parts[2],
           name.parts[3], name.build);
  return strcmp(composed, formatted) == 0;
}

template <NameCase (*kCase)()>
void Compose(benchmark::State& state) {
  const NameCase name = kCase();
  if (!SameText(name)) state.SkipWithError("the composed and the formatted text differ");
  char text[kLongNameBytes];
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ComposeHostOSName(name.facts, name.form, false, name.breakLine, text, sizeof text));
    benchmark::ClobberMemory();
  }
}

template <NameCase (*kCase)()>
void FormatOnce(benchmark::State& state) {
  const NameCase name = kCase();
  char text[kLongNameBytes];
  for (auto _ : state) {
    benchmark::DoNotOptimize(snprintf(text, sizeof text, name.format, name.parts[0],
                                      name.parts[1], name.parts[2], name.parts[3], name.build));
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("ComposeHostOSName (XP Professional SP3)", true, Compose<XpProfessional>,
                   FormatOnce<XpProfessional>);
TMS_BENCHMARK_PAIR("ComposeHostOSName (NT 4 SP6a, short)", true, Compose<Nt4Short>,
                   FormatOnce<Nt4Short>);
TMS_BENCHMARK_PAIR("ComposeHostOSName (longest, 181 characters)", true, Compose<LongestName>,
                   FormatOnce<LongestName>);

}  // namespace
}  // namespace tms::bench
