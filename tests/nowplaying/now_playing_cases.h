// Desktops of player windows with the title that must come back, shared by
// the unit tests (fake window list, in single- and double-byte code pages)
// and the tests of the real exports (real windows under Wine, on the NT
// family and in Windows 98 mode, in every code page). Each row runs with and
// without HTML references.
#pragma once

#include <stdint.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tms::testing {

// The window classes of the players, written out here on purpose: a typo in
// the library's table must fail a test.
inline constexpr char16_t kXmPlayClass[] = u"XMPLAY-MAIN";
inline constexpr char16_t kMediaPlayerClass[] = u"WMPlayerApp";
inline constexpr char16_t kWinampClass[] = u"Winamp v1.x";
inline constexpr char16_t kFoobarClass[] = u"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}";
inline constexpr char16_t kLightAlloyClass[] = u"LightAlloyFront";
inline constexpr char16_t kClassicClass[] = u"MediaPlayerClassicW";

struct DeskWindow {
  const char16_t* windowClass;
  std::u16string title;
  intptr_t playState = 1;      // the window's answer to Winamp's play-state query
  int32_t reportedLength = 0;  // what the window says its title's length is; 0: the truth
};

struct NowPlayingCase {
  const char* name;
  bool video;
  std::vector<DeskWindow> windows;
  std::optional<std::u16string> expected;        // nullopt: nothing plays
  std::optional<std::u16string> withReferences;  // on the NT family with the flag; else `expected`
};

using Title = std::optional<std::u16string>;

inline NowPlayingCase MusicRow(const char* name, std::vector<DeskWindow> windows,
                               Title expected = std::nullopt, Title withReferences = std::nullopt) {
  return {name, false, std::move(windows), std::move(expected), std::move(withReferences)};
}
inline NowPlayingCase VideoRow(const char* name, std::vector<DeskWindow> windows,
                               Title expected = std::nullopt, Title withReferences = std::nullopt) {
  return {name, true, std::move(windows), std::move(expected), std::move(withReferences)};
}

// On the Windows 95 family the title arrives through the ANSI calls, so what
// comes back is `expected` as the code page holds it.
inline const std::vector<NowPlayingCase>& NowPlayingCases() {
  // 40,000 units, each piece of them seven bytes long in a double-byte code
  // page (a scratch sized by units instead of bytes would cut it), and half
  // of them in the longest reference.
  static const auto longTitle = [](const char16_t* piece) {
    std::u16string title;
    for (int i = 0; i < 10000; ++i) title += piece;
    return title;
  };
  static const std::vector<NowPlayingCase> cases = {
      MusicRow("unrelated window", {{u"Notepad", u"Song - Winamp"}}),
      VideoRow("no video player", {{kWinampClass, u"1. Song - Winamp"}}),
      MusicRow("XMPlay title returned whole", {{kXmPlayClass, u"12. Artist - Song - Winamp"}},
               u"12. Artist - Song - Winamp"),
      MusicRow("XMPlay without a title is absent",
               {{kXmPlayClass, u""}, {kMediaPlayerClass, u"Next - Windows Media Player"}}, u"Next"),
      MusicRow("suffix matched without regard to case",
               {{kMediaPlayerClass, u"Song - WINDOWS media PLAYER"}}, u"Song"),
      MusicRow("no suffix: returned whole", {{kMediaPlayerClass, u"Windows Media Player"}},
               u"Windows Media Player"),
      MusicRow("everything from the first occurrence dropped",
               {{kMediaPlayerClass, u"A - Windows Media Player - B - Windows Media Player"}}, u"A"),
      MusicRow("title equal to the suffix: empty, and the search stops",
               {{kMediaPlayerClass, u" - Windows Media Player"},
                {kWinampClass, u"1. Other - Winamp"},
                {kFoobarClass, u"Other   [foobar2000]"}},
               u""),
      MusicRow("Winamp track number stripped", {{kWinampClass, u"12. Artist - Song - Winamp"}},
               u"Artist - Song"),
      MusicRow("Winamp strip takes the first word whatever it is",
               {{kWinampClass, u"Artist - Song - Winamp"}}, u"- Song"),
      MusicRow("Winamp title without a blank kept whole", {{kWinampClass, u"Song-Winamp"}},
               u"Song-Winamp"),
      MusicRow("Winamp title that is the suffix after the strip",
               {{kWinampClass, u"1.  - Winamp"}, {kFoobarClass, u"Other   [foobar2000]"}}, u""),
      MusicRow("Winamp stopped: null even while foobar2000 plays",
               {{kWinampClass, u"1. Song - Winamp", 0}, {kFoobarClass, u"Other   [foobar2000]"}}),
      MusicRow("Winamp paused (answer 3): null",
               {{kWinampClass, u"1. Song - Winamp", 3}, {kFoobarClass, u"Other   [foobar2000]"}}),
      MusicRow("Winamp with an empty title counts as absent",
               {{kWinampClass, u""}, {kFoobarClass, u"Other   [foobar2000]"}}, u"Other"),
      MusicRow("foobar2000 with two blanks kept whole", {{kFoobarClass, u"Song  [foobar2000]"}},
               u"Song  [foobar2000]"),
      MusicRow("foobar2000 suffix in another case",
               {{kFoobarClass, u"Artist - Song   [FOOBAR2000 v1.6]"}}, u"Artist - Song"),
      MusicRow("XMPlay before everything",
               {{kFoobarClass, u"D   [foobar2000]"},
                {kWinampClass, u"1. C - Winamp"},
                {kMediaPlayerClass, u"B - Windows Media Player"},
                {kXmPlayClass, u"A"}},
               u"A"),
      MusicRow("Media Player before Winamp",
               {{kWinampClass, u"1. C - Winamp"}, {kMediaPlayerClass, u"B - Windows Media Player"}},
               u"B"),
      MusicRow("Winamp before foobar2000",
               {{kFoobarClass, u"D   [foobar2000]"}, {kWinampClass, u"1. C - Winamp"}}, u"C"),
      MusicRow("Latin, symbol and emoji",
               {{kMediaPlayerClass, u"Caf\xE9 \x2615 \xD83D\xDE00 - Windows Media Player"}},
               u"Caf\xE9 \x2615 \xD83D\xDE00", u"Caf&#233; &#9749; &#128512;"),
      MusicRow("Cyrillic from foobar2000",
               {{kFoobarClass, u"\x041F\x0435\x0441\x043D\x044F   [foobar2000]"}},
               u"\x041F\x0435\x0441\x043D\x044F", u"&#1055;&#1077;&#1089;&#1085;&#1103;"),
      MusicRow("markup is not escaped",
               {{kMediaPlayerClass, u"Rock & Roll <live> - windows media player"}},
               u"Rock & Roll <live>"),
      MusicRow("surrogates out of pairs, U+FFFF and control characters",
               {{kXmPlayClass, u"\xDE00\xD83D\xD83D\xDE00\x01\xFFFF\t\xD83D"}},
               u"\xDE00\xD83D\xD83D\xDE00\x01\xFFFF\t\xD83D",
               u"&#65533;&#65533;&#128512;\x01&#65535;\t&#65533;"),
      MusicRow(
          "references grow at 128, 1000, 10000 and 100000",
          {{kXmPlayClass,
            u"\x7F\x80\x3E7\x3E8\x270F\x2710\xD800\xDC00\xD821\xDE9F\xD821\xDEA0\xDBFF\xDFFF"}},
          u"\x7F\x80\x3E7\x3E8\x270F\x2710\xD800\xDC00\xD821\xDE9F\xD821\xDEA0\xDBFF\xDFFF",
          u"\x7F&#128;&#999;&#1000;&#9999;&#10000;&#65536;&#99999;&#100000;&#1114111;"),
      MusicRow("40,000 characters", {{kXmPlayClass, longTitle(u"x\x65E5\xDBFF\xDFFF")}},
               longTitle(u"x\x65E5\xDBFF\xDFFF"), longTitle(u"x&#26085;&#1114111;")),
      // A window of the caller's own process answers the length query itself.
      // This one reports 4, as if its title grew after it was measured: the
      // read has room for 4 + 4 characters.
      MusicRow("title longer than its window reports",
               {{kXmPlayClass, u"Song and a much longer title", 1, 4}}, u"Song and"),
      MusicRow("length overstated", {{kXmPlayClass, u"abc", 1, 100}}, u"abc"),
      MusicRow("negative length", {{kXmPlayClass, u"abc", 1, -1}}),
      VideoRow("video: Japanese from Light Alloy",
               {{kLightAlloyClass, u"\x65E5\x672C\x306E\x6B4C - Light Alloy"}},
               u"\x65E5\x672C\x306E\x6B4C", u"&#26085;&#26412;&#12398;&#27468;"),
      VideoRow(
          "video: Light Alloy first",
          {{kClassicClass, u"B - Media Player Classic"}, {kLightAlloyClass, u"A - Light Alloy"}},
          u"A"),
      VideoRow("video: Light Alloy without a title is absent",
               {{kLightAlloyClass, u""}, {kClassicClass, u"B - media player classic"}}, u"B"),
  };
  return cases;
}

}  // namespace tms::testing
