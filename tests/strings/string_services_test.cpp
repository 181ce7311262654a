// The string services behind tmsGetStringLength and tmsCopyString.
#include "strings/string_services.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "fakes/counting_memory.h"
#include "fakes/fake_codepages.h"
#include "platform/codepage.h"

namespace tms {
namespace {

using testing::CountingMemory;
using testing::SingleByteCodepage;

TEST(StringServices, MeasureCountsUnitsBeforeFirstZero) {
  EXPECT_EQ(MeasureWideText(nullptr), 0);
  EXPECT_EQ(MeasureWideText(u""), 0);
  EXPECT_EQ(MeasureWideText(u"abc\0def"), 3);
  EXPECT_EQ(MeasureWideText(u"\xD83D\xDE00"), 2);  // a surrogate pair is two units
}

constexpr char kSentinel = static_cast<char>(0xCC);

struct CopyCase {
  const char* name;
  const WideChar* source;
  bool nullDestination;
  const char* expected;  // null: the destination must stay untouched
};

TEST(StringServices, CopyWritesAnsiFormWithTerminatorAndNothingMore) {
  const CopyCase cases[] = {
      {"plain", u"abc", false, "abc"},
      {"empty", u"", false, ""},
      {"inner zero ends the text", u"ab\0cd", false, "ab"},
      {"unrepresentable replaced", u"a\x4E2D" u"b", false, "a?b"},
      {"null source", nullptr, false, nullptr},
      {"null destination", u"abc", true, nullptr},
  };
  CountingMemory memory;
  SingleByteCodepage codepage;
  for (const CopyCase& row : cases) {
    SCOPED_TRACE(row.name);
    char buffer[16];
    memset(buffer, kSentinel, sizeof buffer);
    CopyWideTextAsAnsi(memory, codepage, row.source, row.nullDestination ? nullptr : buffer);
    if (row.expected == nullptr) {
      for (char byte : buffer) EXPECT_EQ(byte, kSentinel);
    } else {
      const size_t length = strlen(row.expected);
      EXPECT_STREQ(buffer, row.expected);
      for (size_t i = length + 1; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
    }
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
