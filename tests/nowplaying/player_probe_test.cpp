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

// The window classes of the players, written out here on purpose: a typo in
// the library's table must fail a test.
const char16_t kXmPlay[] = u"XMPLAY-MAIN";
const char16_t kMediaPlayer[] = u"WMPlayerApp";
const char16_t kWinamp[] = u"Winamp v1.x";
const char16_t kFoobar[] = u"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}";
const char16_t kLightAlloy[] = u"LightAlloyFront";
const char16_t kClassic[] = u"MediaPlayerClassicW";

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

struct ProbeCase {
  const char* name;
  bool video;
  std::vector<FakeWindow> windows;
  Title expected;
};

// Every case runs on the NT family (wide calls) and on the Windows 95 family
// (ANSI calls through a single-byte code page); the titles are ASCII, so
// both must give the same result.
TEST(PlayerProbe, ProbesInOrderAndCutsTitles) {
  const ProbeCase cases[] = {
      {"no player", false, {}, std::nullopt},
      {"unrelated window", false, {Window(u"Notepad", u"Song - Winamp")}, std::nullopt},
      {"XMPlay title returned whole", false,
       {Window(kXmPlay, u"12. Artist - Song - Winamp")}, u"12. Artist - Song - Winamp"},
      {"XMPlay without a title is absent", false,
       {Window(kXmPlay, u""), Window(kMediaPlayer, u"Next - Windows Media Player")}, u"Next"},
      {"Media Player suffix cut", false,
       {Window(kMediaPlayer, u"Song - Windows Media Player")}, u"Song"},
      {"suffix matched without regard to case", false,
       {Window(kMediaPlayer, u"Song - WINDOWS media PLAYER")}, u"Song"},
      {"no suffix: returned whole", false,
       {Window(kMediaPlayer, u"Windows Media Player")}, u"Windows Media Player"},
      {"everything from the first occurrence dropped", false,
       {Window(kMediaPlayer, u"A - Windows Media Player - B - Windows Media Player")}, u"A"},
      {"title equal to the suffix: empty, and the search stops", false,
       {Window(kMediaPlayer, u" - Windows Media Player"), WinampWindow(u"1. Other - Winamp"),
        Window(kFoobar, u"Other   [foobar2000]")},
       u""},
      {"Winamp track number stripped", false, {WinampWindow(u"12. Artist - Song - Winamp")},
       u"Artist - Song"},
      {"Winamp strip takes the first word whatever it is", false,
       {WinampWindow(u"Artist - Song - Winamp")}, u"- Song"},
      {"Winamp cut at the first occurrence", false,
       {WinampWindow(u"7. Song - Winamp Remix - Winamp")}, u"Song"},
      {"Winamp title without a blank kept whole", false, {WinampWindow(u"Song-Winamp")},
       u"Song-Winamp"},
      {"Winamp title that is the suffix after the strip", false,
       {WinampWindow(u"1.  - Winamp"), Window(kFoobar, u"Other   [foobar2000]")}, u""},
      {"Winamp stopped: null even while foobar2000 plays", false,
       {WinampWindow(u"1. Song - Winamp", 0), Window(kFoobar, u"Other   [foobar2000]")},
       std::nullopt},
      {"Winamp paused (answer 3): null", false,
       {WinampWindow(u"1. Song - Winamp", 3), Window(kFoobar, u"Other   [foobar2000]")},
       std::nullopt},
      {"Winamp hung: null", false,
       {WinampWindow(u"1. Song - Winamp", std::nullopt), Window(kFoobar, u"Other   [foobar2000]")},
       std::nullopt},
      {"Winamp with an empty title counts as absent", false,
       {WinampWindow(u""), Window(kFoobar, u"Other   [foobar2000]")}, u"Other"},
      {"foobar2000 needs three blanks", false, {Window(kFoobar, u"Song   [foobar2000]")},
       u"Song"},
      {"foobar2000 with one blank kept whole", false, {Window(kFoobar, u"Song [foobar2000]")},
       u"Song [foobar2000]"},
      {"foobar2000 with two blanks kept whole", false, {Window(kFoobar, u"Song  [foobar2000]")},
       u"Song  [foobar2000]"},
      {"foobar2000 suffix in another case", false,
       {Window(kFoobar, u"Artist - Song   [FOOBAR2000 v1.6]")}, u"Artist - Song"},
      {"XMPlay before everything", false,
       {Window(kFoobar, u"D   [foobar2000]"), WinampWindow(u"1. C - Winamp"),
        Window(kMediaPlayer, u"B - Windows Media Player"), Window(kXmPlay, u"A")},
       u"A"},
      {"Media Player before Winamp", false,
       {WinampWindow(u"1. C - Winamp"), Window(kMediaPlayer, u"B - Windows Media Player")}, u"B"},
      {"Winamp before foobar2000", false,
       {Window(kFoobar, u"D   [foobar2000]"), WinampWindow(u"1. C - Winamp")}, u"C"},
      {"video: no player", true, {Window(kXmPlay, u"Music")}, std::nullopt},
      {"video: Light Alloy", true, {Window(kLightAlloy, u"Film - Light Alloy")}, u"Film"},
      {"video: Media Player Classic", true,
       {Window(kClassic, u"Film.avi - Media Player Classic")}, u"Film.avi"},
      {"video: Light Alloy first", true,
       {Window(kClassic, u"B - Media Player Classic"), Window(kLightAlloy, u"A - Light Alloy")},
       u"A"},
      {"video: Light Alloy without a title is absent", true,
       {Window(kLightAlloy, u""), Window(kClassic, u"B - media player classic")}, u"B"},
  };
  for (uint32_t platformId : {kNt, kWindows95Family}) {
    for (const ProbeCase& row : cases) {
      SCOPED_TRACE(::testing::Message() << row.name << ", platform " << platformId);
      Desk desk(platformId);
      desk.With(row.windows);
      EXPECT_EQ(row.video ? desk.Video() : desk.Music(), row.expected);
    }
  }
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

// Titles a player may really show, and titles a hostile window may show.
TEST(PlayerProbe, HostileTitlesAreReadWithinBounds) {
  const std::u16string longTitle(40000, u'x');
  const std::u16string odd = u"\x01\t\xD83D\xFFFF\xDE00\x7F";
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
      {"40,000 characters", Window(kXmPlay, longTitle), longTitle},
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
  // Lone surrogates, U+FFFF and control characters come through untouched
  // on the wide path, and as references on request.
  Desk desk;
  desk.With({Window(kXmPlay, odd)});
  EXPECT_EQ(desk.Music(), odd);
  EXPECT_EQ(desk.Music(1), Title(u"\x01\t&#65533;&#65535;&#65533;\x7F"));
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
