// Window title access on the wide and the ANSI path, against a fake window
// list and deterministic code pages.
#include "nowplaying/window_title.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_codepages.h"
#include "fakes/fake_window_manager.h"

namespace tms {
namespace {

using testing::DoubleByteCodepage;
using testing::FakeNowPlaying;
using testing::SingleByteCodepage;

constexpr uint32_t kWindows95Family = 1;
constexpr WideChar kSentinel = 0xCCCC;

// A null window name is passed on as null on both families; an empty one
// stays empty and finds only a window whose title is empty. Without the
// memory for its ANSI copies the lookup finds nothing: it never hands the
// system an empty text in place of a class or a name (which would find a
// decoy).
TEST(WindowTitle, FindPassesNamesAsGiven) {
  const struct {
    const char* name;
    const WideChar* windowName;
    size_t expectedWindow;  // index in the list
  } rows[] = {
      {"null name matches any", nullptr, 1},
      {"empty name matches only an empty title", u"", 2},
      {"name matches its title", u"Song", 3},
  };
  SingleByteCodepage codepage;
  for (uint32_t platformId : {platform::kPlatformIdNt, kWindows95Family}) {
    for (const auto& row : rows) {
      for (int failing = 0; failing <= 3; ++failing) {
        SCOPED_TRACE(::testing::Message() << row.name << ", platform " << platformId
                                          << ", failing allocation " << failing);
        FakeNowPlaying fake(codepage, platformId);
        const WindowHandle handles[] = {
            fake.windows.Add({u"", u"Song"}), fake.windows.Add({u"Player", u"Other"}),
            fake.windows.Add({u"Player", u""}), fake.windows.Add({u"Player", u"Song"})};
        fake.memory.FailAllocationNumber(failing);
        const WindowHandle found = PlatformFindWindow(fake.services, u"Player", row.windowName);
        EXPECT_TRUE(found == handles[row.expectedWindow] || (failing != 0 && found == nullptr));
        EXPECT_EQ(fake.memory.live(), 0);
      }
    }
  }
}

// The ANSI read asks the system for at most `count` bytes; the converted
// text reaches the caller's buffer with its terminator and nothing beyond.
// Without the memory for its ANSI copy it reports nothing read.
TEST(WindowTitle, AnsiReadCutsConvertsAndStaysWithinCount) {
  const struct {
    const char* name;
    bool doubleByte;
    std::u16string title;
    int32_t count;
    std::u16string expected;
    int32_t expectedResult;
  } rows[] = {
      {"fits", false, u"Hello", 6, u"Hello", 5},
      {"one too small", false, u"Hello", 5, u"Hell", 4},
      {"cut", false, u"Hello", 4, u"Hel", 3},
      {"count 1 gives the empty text", false, u"Hello", 1, u"", 0},
      {"unrepresentable replaced", false,
       u"a\x4E2D"
       u"b",
       8, u"a?b", 3},
      {"empty title", false, u"", 8, u"", 0},
      // Two double-byte characters: the result counts four bytes for two units.
      {"double-byte", true, u"\x65E5\x672C", 10, u"\x65E5\x672C", 4},
      // Counts without room for a terminator: the system is not asked.
      {"count 0", false, u"Song", 0, u"", 0},
      {"negative count", false, u"Song", -3, u"", 0},
  };
  SingleByteCodepage singleByte;
  DoubleByteCodepage doubleByte;
  for (const auto& row : rows) {
    for (int failing = 0; failing <= 3; ++failing) {
      SCOPED_TRACE(::testing::Message() << row.name << ", failing allocation " << failing);
      platform::Codepage& codepage =
          row.doubleByte ? static_cast<platform::Codepage&>(doubleByte) : singleByte;
      FakeNowPlaying fake(codepage, kWindows95Family);
      const WindowHandle window = fake.windows.Add({u"Player", row.title});

      std::vector<WideChar> buffer(static_cast<size_t>(row.count) + 8, kSentinel);
      fake.memory.FailAllocationNumber(failing);
      const int32_t result = PlatformGetWindowText(fake.services, window, buffer.data(), row.count);
      const bool failed = failing != 0 && result == 0;
      EXPECT_EQ(result, failed ? 0 : row.expectedResult);
      // The text, its terminator when there is room for one, then untouched units.
      std::u16string written = failed ? u"" : row.expected;
      if (row.count > 0) written += u'\0';
      written.resize(buffer.size(), kSentinel);
      EXPECT_EQ(std::u16string(buffer.begin(), buffer.end()), written);
      if (failing == 0) {
        EXPECT_EQ(fake.windows.readCounts,
                  row.count > 0 ? std::vector<int32_t>{row.count} : std::vector<int32_t>{});
      }
      EXPECT_EQ(PlatformGetWindowText(fake.services, window, nullptr, 8), 0);
      EXPECT_EQ(fake.memory.live(), 0);
    }
  }
}

// The family is asked at every call, never remembered: each operation
// follows what the system reports at that moment. Lengths and read results
// count units on the NT family and bytes elsewhere.
TEST(WindowTitle, EachOperationAsksForThePlatformAnew) {
  DoubleByteCodepage codepage;
  FakeNowPlaying fake(codepage, platform::kPlatformIdNt);
  const WindowHandle window = fake.windows.Add({u"Player", u"ab\x65E5"});

  EXPECT_EQ(PlatformFindWindow(fake.services, u"Player", nullptr), window);
  EXPECT_EQ(PlatformGetWindowTextLength(fake.services, window), 3);
  fake.windows.SetPlatformId(kWindows95Family);
  EXPECT_EQ(PlatformGetWindowTextLength(fake.services, window), 4);
  fake.windows.SetPlatformId(platform::kPlatformIdNt);
  WideChar buffer[8] = {};
  EXPECT_EQ(PlatformGetWindowText(fake.services, window, buffer, 8), 3);
}

}  // namespace
}  // namespace tms
