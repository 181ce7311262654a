// Window title access on the wide and the ANSI path, against a fake window
// list and deterministic code pages.
#include "nowplaying/window_title.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_codepages.h"
#include "fakes/fake_window_manager.h"

namespace tms {
namespace {

using testing::DoubleByteCodepage;
using testing::FakeNowPlaying;
using testing::FakeWindowManager;
using testing::SingleByteCodepage;

constexpr uint32_t kWindows95Family = 1;
constexpr WideChar kSentinel = 0xCCCC;

// A null window name is passed on as null on both families; an empty one
// stays empty and finds only a window whose title is empty.
TEST(WindowTitle, FindPassesNamesAsGivenOnBothFamilies) {
  const struct {
    const char* name;
    const WideChar* windowName;
    size_t expectedWindow;  // index in the list
  } rows[] = {
      {"null name matches any", nullptr, 0},
      {"empty name matches only an empty title", u"", 1},
      {"name matches its title", u"Other", 2},
  };
  SingleByteCodepage codepage;
  for (uint32_t platformId : {platform::kPlatformIdNt, kWindows95Family}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(::testing::Message() << row.name << ", platform " << platformId);
      FakeNowPlaying fake(codepage, platformId);
      const WindowHandle handles[] = {fake.windows.Add(u"Player", u"Song"),
                                      fake.windows.Add(u"Player", u""),
                                      fake.windows.Add(u"Player", u"Other")};
      EXPECT_EQ(PlatformFindWindow(fake.services, u"Player", row.windowName),
                handles[row.expectedWindow]);
      ASSERT_EQ(fake.windows.finds.size(), 1u);
      EXPECT_EQ(fake.windows.finds[0].ansi, platformId != platform::kPlatformIdNt);
      EXPECT_EQ(fake.windows.finds[0].className, u"Player");
      EXPECT_EQ(fake.windows.finds[0].nameIsNull, row.windowName == nullptr);
      EXPECT_EQ(fake.memory.live(), 0);
    }
  }
}

// Without the memory for its ANSI copies the lookup reports no window; it
// never hands the system an empty text in place of a name.
TEST(WindowTitle, AnsiFindWithoutMemoryFindsNothing) {
  SingleByteCodepage codepage;
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    FakeNowPlaying fake(codepage, kWindows95Family);
    const WindowHandle player = fake.windows.Add(u"Player", u"Song");
    fake.windows.Add(u"", u"Song");
    fake.memory.FailAllocationNumber(failing);
    const WindowHandle found = PlatformFindWindow(fake.services, u"Player", u"Song");
    for (const auto& call : fake.windows.finds) {
      EXPECT_EQ(call.className, u"Player");
      EXPECT_EQ(call.windowName, u"Song");
    }
    EXPECT_TRUE(found == nullptr || found == player);
    EXPECT_EQ(fake.memory.live(), 0);
  }
}

struct AnsiReadCase {
  const char* name;
  bool doubleByte;
  std::u16string title;
  int32_t count;
  std::u16string expected;
  int32_t expectedResult;
};

// The ANSI read asks the system for at most `count` bytes; the converted
// text reaches the caller's buffer with its terminator and nothing beyond.
TEST(WindowTitle, AnsiReadCutsConvertsAndStaysWithinCount) {
  const AnsiReadCase cases[] = {
      {"fits", false, u"Hello", 6, u"Hello", 5},
      {"one too small", false, u"Hello", 5, u"Hell", 4},
      {"cut", false, u"Hello", 4, u"Hel", 3},
      {"count 1 gives the empty text", false, u"Hello", 1, u"", 0},
      {"unrepresentable replaced", false, u"a\x4E2D" u"b", 8, u"a?b", 3},
      {"empty title", false, u"", 8, u"", 0},
      // Two double-byte characters: the result counts four bytes for two units.
      {"double-byte", true, u"\x65E5\x672C", 10, u"\x65E5\x672C", 4},
  };
  SingleByteCodepage singleByte;
  DoubleByteCodepage doubleByte;
  for (const AnsiReadCase& row : cases) {
    SCOPED_TRACE(row.name);
    platform::Codepage& codepage =
        row.doubleByte ? static_cast<platform::Codepage&>(doubleByte) : singleByte;
    FakeNowPlaying fake(codepage, kWindows95Family);
    const WindowHandle window = fake.windows.Add(u"Player", row.title);

    std::vector<WideChar> buffer(static_cast<size_t>(row.count) + 8, kSentinel);
    EXPECT_EQ(PlatformGetWindowText(fake.services, window, buffer.data(), row.count),
              row.expectedResult);
    EXPECT_EQ(std::u16string(buffer.data()), row.expected);
    for (size_t i = row.expected.size() + 1; i < buffer.size(); ++i) {
      EXPECT_EQ(buffer[i], kSentinel) << "unit " << i;
    }
    EXPECT_EQ(fake.windows.readCounts, std::vector<int32_t>{row.count});
    EXPECT_EQ(fake.windows.ansiCalls, 1);
    EXPECT_EQ(fake.memory.live(), 0);
  }
}

TEST(WindowTitle, AnsiReadWithoutMemoryReportsNothingRead) {
  SingleByteCodepage codepage;
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    FakeNowPlaying fake(codepage, kWindows95Family);
    const WindowHandle window = fake.windows.Add(u"Player", u"Song");
    WideChar buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), kSentinel);
    fake.memory.FailAllocationNumber(failing);
    const int32_t result = PlatformGetWindowText(fake.services, window, buffer, 8);
    EXPECT_EQ(std::u16string(buffer), result == 0 ? u"" : u"Song");
    EXPECT_EQ(buffer[8], kSentinel);
    EXPECT_EQ(fake.memory.live(), 0);
  }
}

TEST(WindowTitle, AnsiReadRefusesCountsWithoutRoom) {
  SingleByteCodepage codepage;
  FakeNowPlaying fake(codepage, kWindows95Family);
  const WindowHandle window = fake.windows.Add(u"Player", u"Song");
  WideChar buffer[2] = {kSentinel, kSentinel};
  EXPECT_EQ(PlatformGetWindowText(fake.services, window, buffer, 0), 0);
  EXPECT_EQ(PlatformGetWindowText(fake.services, window, buffer, -3), 0);
  EXPECT_EQ(PlatformGetWindowText(fake.services, window, nullptr, 8), 0);
  EXPECT_EQ(buffer[0], kSentinel);
  EXPECT_EQ(fake.windows.ansiCalls, 0);
  EXPECT_EQ(fake.memory.allocations(), 0);
}

// The family is asked at every call, never remembered: each operation
// follows what the system reports at that moment. Lengths count units on
// the NT family and bytes elsewhere.
TEST(WindowTitle, EachOperationAsksForThePlatformAnew) {
  DoubleByteCodepage codepage;
  FakeNowPlaying fake(codepage, platform::kPlatformIdNt);
  const WindowHandle window = fake.windows.Add(u"Player", u"ab\x65E5");

  EXPECT_EQ(PlatformFindWindow(fake.services, u"Player", nullptr), window);
  EXPECT_EQ(PlatformGetWindowTextLength(fake.services, window), 3);
  fake.windows.SetPlatformId(kWindows95Family);
  EXPECT_EQ(PlatformGetWindowTextLength(fake.services, window), 4);
  fake.windows.SetPlatformId(platform::kPlatformIdNt);
  WideChar buffer[8] = {};
  EXPECT_EQ(PlatformGetWindowText(fake.services, window, buffer, 8), 3);

  EXPECT_EQ(fake.windows.versionQueries, 4);
  EXPECT_FALSE(fake.windows.finds[0].ansi);
  EXPECT_EQ(fake.windows.ansiCalls, 1);
  EXPECT_EQ(fake.windows.wideCalls, 2);
}

}  // namespace
}  // namespace tms
