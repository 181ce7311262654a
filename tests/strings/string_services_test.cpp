// The string services behind tmsGetStringLength and tmsCopyString.
#include "strings/string_services.h"

#include <gtest/gtest.h>

#include <iterator>
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

// The shared rows, and one that only this code page can give: the single-
// byte fake writes '?' for what it lacks. The shared rows run through the
// system's own code page and allocator as well.
TEST(StringServices, CopyWritesAnsiFormWithTerminatorAndNothingMore) {
  std::vector<testing::CopyCase> cases(std::begin(testing::kCopyCases),
                                       std::end(testing::kCopyCases));
  cases.push_back({"unrepresentable replaced",
                   u"a\x4E2D"
                   u"b",
                   false, "a?b"});
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const testing::CopyCase& row : cases) {
    testing::ExpectCopyRow(row, [&](const WideChar* source, char* destination) {
      CopyWideTextAsAnsi(memory, codepage, source, destination);
    });
    EXPECT_EQ(memory.live(), 0);
  }
  for (const testing::CopyCase& row : testing::kCopyCases) {
    testing::ExpectCopyRow(row, [](const WideChar* source, char* destination) {
      CopyWideTextAsAnsi(platform::SystemMemory(), platform::SystemCodepage(), source, destination);
    });
  }
}

// Without its conversion buffers the copy writes nothing at all, rather than
// an empty or partial text.
TEST(StringServices, CopyWritesNothingWhenMemoryRunsOut) {
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (int failing = 1; failing <= 2; ++failing) {
    SCOPED_TRACE(failing);
    memory.FailAllocationNumber(failing);
    testing::ExpectCopyRow({"abc", u"abc", false, nullptr},
                           [&](const WideChar* source, char* destination) {
                             CopyWideTextAsAnsi(memory, codepage, source, destination);
                           });
    memory.FailAllocationNumber(0);
    EXPECT_EQ(memory.live(), 0);
  }
}

}  // namespace
}  // namespace tms
