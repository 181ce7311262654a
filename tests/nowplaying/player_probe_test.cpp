// Player probing and title extraction, driven through a fake window list on
// both platform families, with every allocation counted.
#include "nowplaying/player_probe.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/counting_memory.h"
#include "fakes/fake_codepages.h"
#include "fakes/fake_window_manager.h"
#include "nowplaying/now_playing_cases.h"
#include "platform/text.h"

namespace tms {
namespace {

using testing::CountingMemory;
using testing::DoubleByteCodepage;
using testing::FakeNowPlaying;
using testing::FakeWindow;
using testing::SingleByteCodepage;

constexpr uint32_t kNt = platform::kPlatformIdNt;
constexpr uint32_t kWindows95Family = 1;

const char16_t* const kXmPlay = testing::kXmPlayClass;
const char16_t* const kMediaPlayer = testing::kMediaPlayerClass;
const char16_t* const kWinamp = testing::kWinampClass;
const char16_t* const kFoobar = testing::kFoobarClass;
const char16_t* const kLightAlloy = testing::kLightAlloyClass;

FakeWindow Window(const char16_t* windowClass, std::u16string title) {
  FakeWindow window;
  window.windowClass = windowClass;
  window.title = std::move(title);
  return window;
}

// Winamp answers its play-state query with `reply`; nullopt: it is hung.
FakeWindow WinampWindow(std::u16string title, std::optional<uintptr_t> reply = 1) {
  FakeWindow window = Window(kWinamp, std::move(title));
  window.reply = reply;
  return window;
}

using Title = std::optional<std::u16string>;

// One host call against one fake desktop: the BSTR is read, checked for an
// exact recorded length and released, and the memory must then balance.
// The code page of a desk that is given none, made before the fake (bases
// are made in order) so that the fake can refer to it.
struct SingleByteDefault {
  SingleByteCodepage singleByte;
};

class Desk : private SingleByteDefault, public FakeNowPlaying {
 public:
  explicit Desk(uint32_t platformId = kNt) : Desk(platformId, singleByte) {}
  Desk(uint32_t platformId, platform::Codepage& codepage) : FakeNowPlaying(codepage, platformId) {}

  Desk& With(std::vector<FakeWindow> list) {
    for (FakeWindow& window : list) windows.Add(std::move(window));
    return *this;
  }
  Title Music(int32_t htmlRefs = 0) { return Take(GetCurrentMusic(services, htmlRefs)); }
  Title Video(int32_t htmlRefs = 0) { return Take(GetCurrentVideo(services, htmlRefs)); }

 private:
  Title Take(Bstr bstr) {
    if (bstr == nullptr) {
      EXPECT_EQ(memory.live(), 0);
      return std::nullopt;
    }
    EXPECT_EQ(memory.live(), 1);
    const std::u16string text(bstr, memory.BstrByteLen(bstr) / sizeof(WideChar));
    EXPECT_EQ(static_cast<size_t>(TextLength(bstr)), text.size()) << "recorded length is not exact";
    memory.FreeBstr(bstr);
    EXPECT_EQ(memory.live(), 0);
    return text;
  }
};

FakeWindow FromDesk(const testing::DeskWindow& shown) {
  FakeWindow window = Window(shown.windowClass, shown.title);
  window.reply = static_cast<uintptr_t>(shown.playState);
  if (shown.reportedLength != 0) window.reportedLength = shown.reportedLength;
  return window;
}

// The shared rows on the NT family (wide calls) and on the Windows 95 family
// (ANSI calls through a single-byte code page, where what arrives is the
// title as the code page holds it), with and without references.
TEST(PlayerProbe, ProbesInOrderAndCutsTitles) {
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    for (const testing::NowPlayingCase& row : testing::NowPlayingCases()) {
      for (int32_t htmlRefs : {0, 1}) {
        SCOPED_TRACE(::testing::Message() << row.name << ", platform " << platformId
                                          << ", htmlRefs " << htmlRefs);
        Desk desk(platformId);
        for (const testing::DeskWindow& shown : row.windows) desk.windows.Add(FromDesk(shown));
        Title expected = row.expected;
        if (expected && platformId != kNt) {
          expected = desk.windows.FromAnsi(desk.windows.ToAnsi(*expected).c_str());
        } else if (expected && htmlRefs != 0 && row.withReferences) {
          expected = row.withReferences;
        }
        EXPECT_EQ(row.video ? desk.Video(htmlRefs) : desk.Music(htmlRefs), expected);
      }
    }
  }
  // A Winamp whose window does not answer is not playing (the real one is
  // in the DLL tests, in a process of its own).
  Desk desk;
  desk.With({WinampWindow(u"1. Song - Winamp", std::nullopt),
             Window(kFoobar, u"Other   [foobar2000]")});
  EXPECT_EQ(desk.Music(), std::nullopt);
}

// Winamp is asked with its own message, with a time limit, on a window
// looked up afresh with the ANSI call, and with a null window name.
TEST(PlayerProbe, WinampIsAskedWithItsPlayStateQuery) {
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    SCOPED_TRACE(platformId);
    Desk desk(platformId);
    desk.With({WinampWindow(u"1. Song - Winamp")});
    EXPECT_EQ(desk.Music(), Title(u"Song"));
    const auto& finds = desk.windows.finds;
    ASSERT_FALSE(finds.empty());
    EXPECT_TRUE(finds.back().ansi);
    EXPECT_EQ(finds.back().className, kWinamp);
    for (const auto& call : finds) EXPECT_TRUE(call.nameIsNull);
    ASSERT_EQ(desk.windows.sent.size(), 1u);
    const auto& query = desk.windows.sent[0];
    EXPECT_EQ(query.message, 0x400u);
    EXPECT_EQ(query.wParam, 0u);
    EXPECT_EQ(query.lParam, 104);
    EXPECT_GE(query.timeoutMilliseconds, 500u);
    EXPECT_LE(query.timeoutMilliseconds, 2000u);
  }
}

// Titles a hostile window may show: one that changes once measured, and
// lengths that a window of the own process may report.
TEST(PlayerProbe, HostileTitlesAreReadWithinBounds) {
  FakeWindow growing = Window(kMediaPlayer, u"Song");
  growing.titleAfterMeasure = u"Song and a much longer title - Windows Media Player";
  FakeWindow overstated = Window(kXmPlay, u"abc");
  overstated.reportedLength = 100;
  FakeWindow negative = Window(kXmPlay, u"abc");
  negative.reportedLength = -1;
  FakeWindow absurd = Window(kXmPlay, u"abc");
  absurd.reportedLength = INT32_MAX;
  const struct {
    const char* name;
    FakeWindow window;
    Title expected;
  } rows[] = {
      // Measured at 4, read with room for 4 + 4 characters and a terminator.
      {"title grew after it was measured", growing, u"Song and"},
      {"length overstated", overstated, u"abc"},
      {"negative length", negative, std::nullopt},
      {"length without room for the spare", absurd, std::nullopt},
  };
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(::testing::Message() << row.name << ", platform " << platformId);
      Desk desk(platformId);
      desk.With({row.window});
      EXPECT_EQ(desk.Music(), row.expected);
      EXPECT_LE(desk.memory.allocations(), 12);
    }
  }
}

// On the ANSI path in a double-byte code page the measured length counts
// bytes, so the scratch is larger than the units that arrive.
TEST(PlayerProbe, DoubleByteTitlesOnTheAnsiPath) {
  DoubleByteCodepage codepage;
  Desk desk(kWindows95Family, codepage);
  desk.With({Window(kLightAlloy, u"\x65E5\x672C - Light Alloy")});
  EXPECT_EQ(desk.Video(), Title(u"\x65E5\x672C"));
  EXPECT_EQ(desk.windows.readCounts, std::vector<int32_t>{23});
}

// The reference step runs only on request and only on the NT family, and
// the family is asked anew at every call.
TEST(PlayerProbe, HtmlReferencesOnlyOnRequestAndOnTheNtFamily) {
  Desk desk;
  desk.With({Window(kMediaPlayer, u"Caf\xE9 & Bar - Windows Media Player")});
  EXPECT_EQ(desk.Music(0), Title(u"Caf\xE9 & Bar"));
  // XMPlay looked for; Media Player found, measured and read.
  EXPECT_EQ(desk.windows.versionQueries, 4);
  EXPECT_EQ(desk.Music(1), Title(u"Caf&#233; & Bar"));
  EXPECT_EQ(desk.windows.versionQueries, 9);
  desk.windows.SetPlatformId(kWindows95Family);
  EXPECT_EQ(desk.Music(1), Title(u"Caf\xE9 & Bar"));
  EXPECT_GT(desk.windows.ansiCalls, 0);
  desk.windows.SetPlatformId(0);  // a failed version query
  EXPECT_EQ(desk.Music(1), Title(u"Caf\xE9 & Bar"));
  desk.windows.SetPlatformId(3);  // any identifier but NT's
  EXPECT_EQ(desk.Music(1), Title(u"Caf\xE9 & Bar"));
}

// Whichever allocation fails, nothing leaks and no wrong title comes back:
// the failing probe gives null and the list moves on to foobar2000, or the
// reference step leaves the title unencoded.
TEST(PlayerProbe, EveryAllocationFailureLeavesNothingBehind) {
  const std::vector<FakeWindow> players = {WinampWindow(u"3. Caf\xE9 - Winamp"),
                                           Window(kFoobar, u"Other   [foobar2000]")};
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    Desk clean(platformId);
    clean.With(players);
    const Title complete = clean.Music(1);
    EXPECT_EQ(complete, Title(platformId == kNt ? u"Caf&#233;" : u"Caf\xE9"));
    const int allocations = clean.memory.allocations();
    bool movedOn = false;
    for (int failing = 1; failing <= allocations; ++failing) {
      SCOPED_TRACE(::testing::Message() << "allocation " << failing << ", platform "
                                        << platformId);
      Desk desk(platformId);
      desk.With(players);
      desk.memory.FailAllocationNumber(failing);
      const Title title = desk.Music(1);
      movedOn = movedOn || title == Title(u"Other");
      EXPECT_TRUE(title == complete || title == Title(u"Caf\xE9") || title == Title(u"Other"))
          << "unexpected title";
    }
    EXPECT_TRUE(movedOn);
  }
}

}  // namespace
}  // namespace tms
