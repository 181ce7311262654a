// Player probing and title extraction, driven through a fake window list on
// both platform families, with every allocation counted.
#include "nowplaying/player_probe.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_codepages.h"
#include "fakes/fake_window_manager.h"
#include "nowplaying/now_playing_cases.h"
#include "platform/text.h"

namespace tms {
namespace {

using testing::DeskWindow;
using testing::FakeNowPlaying;
using testing::MusicRow;
using testing::NowPlayingCase;
using testing::SingleByteCodepage;
using testing::Title;

constexpr uint32_t kNt = platform::kPlatformIdNt;
constexpr uint32_t kWindows95Family = 1;

// Rows that only the fake window list shows: a length without room for the
// spare (Wine's ANSI calls measure such a title anew), and a hung Winamp (the
// real one, in a process of its own, is in the DLL tests).
std::vector<NowPlayingCase> UnitOnlyCases() {
  return {
      MusicRow("length without room for the spare",
               {{testing::kXmPlayClass, u"abc", 1, INT32_MAX}}),
      MusicRow("Winamp that does not answer: null",
               {{testing::kWinampClass, u"1. Song - Winamp", testing::kHungPlayState},
                {testing::kFoobarClass, u"Other   [foobar2000]"}}),
  };
}

// One host call: the BSTR is read, checked for an exact recorded length and
// released, and the memory must then balance.
Title Call(FakeNowPlaying& fake, bool video, int32_t htmlRefs) {
  const Bstr bstr =
      video ? GetCurrentVideo(fake.services, htmlRefs) : GetCurrentMusic(fake.services, htmlRefs);
  EXPECT_EQ(fake.memory.live(), bstr != nullptr ? 1 : 0);
  if (bstr == nullptr) return std::nullopt;
  const std::u16string text(bstr, fake.memory.BstrByteLen(bstr) / sizeof(WideChar));
  EXPECT_EQ(static_cast<size_t>(TextLength(bstr)), text.size()) << "recorded length is not exact";
  fake.memory.FreeBstr(bstr);
  EXPECT_EQ(fake.memory.live(), 0);
  return text;
}

// The shared rows on the NT family (wide calls) and elsewhere (ANSI calls,
// where what arrives is the title as the code page holds it and references
// are never made), with and without references. A failed version query (0)
// and an unknown family (3) count as not NT.
TEST(PlayerProbe, ProbesInOrderAndCutsTitles) {
  SingleByteCodepage singleByte;
  testing::DoubleByteCodepage doubleByte;
  const struct {
    const char* name;
    uint32_t platformId;
    platform::Codepage& codepage;
  } families[] = {
      {"NT family", kNt, singleByte},
      {"Windows 95 family, single-byte", kWindows95Family, singleByte},
      {"Windows 95 family, double-byte", kWindows95Family, doubleByte},
      {"failed version query", 0, singleByte},
      {"unknown family", 3, singleByte},
  };
  std::vector<NowPlayingCase> rows = testing::NowPlayingCases();
  for (NowPlayingCase& row : UnitOnlyCases()) rows.push_back(std::move(row));
  for (const auto& family : families) {
    for (const NowPlayingCase& row : rows) {
      for (int32_t htmlRefs : {0, 1}) {
        SCOPED_TRACE(::testing::Message()
                     << row.name << ", " << family.name << ", htmlRefs " << htmlRefs);
        FakeNowPlaying fake(family.codepage, family.platformId);
        for (const DeskWindow& window : row.windows) fake.windows.Add(window);
        Title expected = row.expected;
        if (expected && family.platformId != kNt) {
          expected = fake.windows.FromAnsi(fake.windows.ToAnsi(*expected).c_str());
        } else if (expected && htmlRefs != 0 && row.withReferences) {
          expected = row.withReferences;
        }
        EXPECT_EQ(Call(fake, row.video, htmlRefs), expected);
      }
    }
  }
}

// Whichever allocation fails, nothing leaks and no wrong title comes back:
// the failing probe gives null and the list moves on to foobar2000, or the
// reference step leaves the title unencoded.
TEST(PlayerProbe, EveryAllocationFailureLeavesNothingBehind) {
  const std::vector<DeskWindow> players = {{testing::kWinampClass, u"3. Caf\xE9 - Winamp"},
                                           {testing::kFoobarClass, u"Other   [foobar2000]"}};
  SingleByteCodepage codepage;
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    FakeNowPlaying clean(codepage, platformId);
    for (const DeskWindow& window : players) clean.windows.Add(window);
    const Title complete = Call(clean, false, 1);
    EXPECT_EQ(complete, Title(platformId == kNt ? u"Caf&#233;" : u"Caf\xE9"));
    // Winamp was asked with a time limit that a busy player meets and a hung
    // one cannot stretch. (Which query, every Winamp row shows: the fake's
    // Winamp answers no other.)
    EXPECT_GE(clean.windows.lastTimeoutMilliseconds, 500u);
    EXPECT_LE(clean.windows.lastTimeoutMilliseconds, 2000u);
    bool movedOn = false;
    for (int failing = 1; failing <= clean.memory.allocations(); ++failing) {
      SCOPED_TRACE(::testing::Message() << "allocation " << failing << ", platform " << platformId);
      FakeNowPlaying fake(codepage, platformId);
      for (const DeskWindow& window : players) fake.windows.Add(window);
      fake.memory.FailAllocationNumber(failing);
      const Title title = Call(fake, false, 1);
      movedOn = movedOn || title == Title(u"Other");
      EXPECT_TRUE(title == complete || title == Title(u"Caf\xE9") || title == Title(u"Other"))
          << "unexpected title";
    }
    EXPECT_TRUE(movedOn);
  }
}

}  // namespace
}  // namespace tms
