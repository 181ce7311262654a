// The string services behind tmsGetStringLength and tmsCopyString.
#include "strings/string_services.h"

#include <gtest/gtest.h>
#include <string.h>

#include <iterator>
#include <string>
#include <vector>

#include "fakes/counting_memory.h"
#include "fakes/fake_codepages.h"
#include "platform/codepage.h"
#include "strings/string_services_cases.h"

namespace tms {
namespace {

using testing::CountingMemory;
using testing::SingleByteCodepage;

TEST(StringServices, MeasureCountsUnitsBeforeFirstZero) {
  for (const testing::MeasureCase& row : testing::kMeasureCases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MeasureWideText(row.text), row.expected);
  }
}

constexpr char kSentinel = static_cast<char>(0xCC);

// The shared rows, and one that only this code page can give: the single-
// byte fake writes '?' for what it lacks.
TEST(StringServices, CopyWritesAnsiFormWithTerminatorAndNothingMore) {
  std::vector<testing::CopyCase> cases(std::begin(testing::kCopyCases),
                                       std::end(testing::kCopyCases));
  cases.push_back({"unrepresentable replaced", u"a\x4E2D" u"b", false, "a?b"});
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const testing::CopyCase& row : cases) {
    SCOPED_TRACE(row.name);
    char buffer[16];
    memset(buffer, kSentinel, sizeof buffer);
    CopyWideTextAsAnsi(memory, codepage, row.source, row.nullDestination ? nullptr : buffer);
    const size_t untouchedFrom = row.expected == nullptr ? 0 : strlen(row.expected) + 1;
    if (row.expected != nullptr) {
      EXPECT_STREQ(buffer, row.expected);
    }
    for (size_t i = untouchedFrom; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
    EXPECT_EQ(memory.live(), 0);
  }
}

// Without its conversion buffers the copy writes nothing at all, rather than
// an empty or partial text.
TEST(StringServices, CopyWritesNothingWhenMemoryRunsOut) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (int failing = 1; failing <= 2; ++failing) {
    SCOPED_TRACE(failing);
    char buffer[8];
    memset(buffer, kSentinel, sizeof buffer);
    memory.FailAllocationNumber(failing);
    CopyWideTextAsAnsi(memory, codepage, u"abc", buffer);
    memory.FailAllocationNumber(0);
    for (char byte : buffer) EXPECT_EQ(byte, kSentinel);
    EXPECT_EQ(memory.live(), 0);
  }
}

// Through the system's own code page: ASCII survives unchanged everywhere.
TEST(StringServices, CopyThroughSystemCodepageKeepsAscii) {
  char buffer[32];
  memset(buffer, kSentinel, sizeof buffer);
  CopyWideTextAsAnsi(platform::SystemMemory(), platform::SystemCodepage(), u"Hello, page!",
                     buffer);
  EXPECT_STREQ(buffer, "Hello, page!");
  EXPECT_EQ(buffer[13], kSentinel);
}

}  // namespace
}  // namespace tms
