// Desktops of player windows with the title that must come back, shared by
// the unit tests (fake window list) and the tests of the real exports (real
// windows under Wine, on the NT family and in Windows 98 mode, in every code
// page). Each row runs with and without HTML references.
#pragma once

#include <stdint.h>

#include <optional>
#include <string>
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

// On the Windows 95 family the title arrives through the ANSI calls, so what
// comes back is `expected` as the code page holds it.
inline const std::vector<NowPlayingCase>& NowPlayingCases() {
  static const std::u16string longTitle(40000, u'x');
  static const std::vector<NowPlayingCase> cases = {
      {"no player", false, {}, std::nullopt, std::nullopt},
      {"unrelated window", false, {{u"Notepad", u"Song - Winamp"}}, std::nullopt, std::nullopt},
      {"no video player", true, {{kWinampClass, u"1. Song - Winamp"}}, std::nullopt,
       std::nullopt},
      {"XMPlay title returned whole", false, {{kXmPlayClass, u"12. Artist - Song - Winamp"}},
       u"12. Artist - Song - Winamp", std::nullopt},
      {"XMPlay without a title is absent", false,
       {{kXmPlayClass, u""}, {kMediaPlayerClass, u"Next - Windows Media Player"}}, u"Next",
       std::nullopt},
      {"Media Player suffix cut", false, {{kMediaPlayerClass, u"Song - Windows Media Player"}},
       u"Song", std::nullopt},
      {"suffix matched without regard to case", false,
       {{kMediaPlayerClass, u"Song - WINDOWS media PLAYER"}}, u"Song", std::nullopt},
      {"no suffix: returned whole", false, {{kMediaPlayerClass, u"Windows Media Player"}},
       u"Windows Media Player", std::nullopt},
      {"everything from the first occurrence dropped", false,
       {{kMediaPlayerClass, u"A - Windows Media Player - B - Windows Media Player"}}, u"A",
       std::nullopt},
      {"title equal to the suffix: empty, and the search stops", false,
       {{kMediaPlayerClass, u" - Windows Media Player"},
        {kWinampClass, u"1. Other - Winamp"},
        {kFoobarClass, u"Other   [foobar2000]"}},
       u"", std::nullopt},
      {"Winamp track number stripped", false, {{kWinampClass, u"12. Artist - Song - Winamp"}},
       u"Artist - Song", std::nullopt},
      {"Winamp strip takes the first word whatever it is", false,
       {{kWinampClass, u"Artist - Song - Winamp"}}, u"- Song", std::nullopt},
      {"Winamp cut at the first occurrence", false,
       {{kWinampClass, u"7. Song - Winamp Remix - Winamp"}}, u"Song", std::nullopt},
      {"Winamp title without a blank kept whole", false, {{kWinampClass, u"Song-Winamp"}},
       u"Song-Winamp", std::nullopt},
      {"Winamp title that is the suffix after the strip", false,
       {{kWinampClass, u"1.  - Winamp"}, {kFoobarClass, u"Other   [foobar2000]"}}, u"",
       std::nullopt},
      {"Winamp stopped: null even while foobar2000 plays", false,
       {{kWinampClass, u"1. Song - Winamp", 0}, {kFoobarClass, u"Other   [foobar2000]"}},
       std::nullopt, std::nullopt},
      {"Winamp paused (answer 3): null", false,
       {{kWinampClass, u"1. Song - Winamp", 3}, {kFoobarClass, u"Other   [foobar2000]"}},
       std::nullopt, std::nullopt},
      {"Winamp with an empty title counts as absent", false,
       {{kWinampClass, u""}, {kFoobarClass, u"Other   [foobar2000]"}}, u"Other", std::nullopt},
      {"foobar2000 needs three blanks", false, {{kFoobarClass, u"Song   [foobar2000]"}}, u"Song",
       std::nullopt},
      {"foobar2000 with one blank kept whole", false, {{kFoobarClass, u"Song [foobar2000]"}},
       u"Song [foobar2000]", std::nullopt},
      {"foobar2000 with two blanks kept whole", false, {{kFoobarClass, u"Song  [foobar2000]"}},
       u"Song  [foobar2000]", std::nullopt},
      {"foobar2000 suffix in another case", false,
       {{kFoobarClass, u"Artist - Song   [FOOBAR2000 v1.6]"}}, u"Artist - Song", std::nullopt},
      {"XMPlay before everything", false,
       {{kFoobarClass, u"D   [foobar2000]"},
        {kWinampClass, u"1. C - Winamp"},
        {kMediaPlayerClass, u"B - Windows Media Player"},
        {kXmPlayClass, u"A"}},
       u"A", std::nullopt},
      {"Media Player before Winamp", false,
       {{kWinampClass, u"1. C - Winamp"}, {kMediaPlayerClass, u"B - Windows Media Player"}}, u"B",
       std::nullopt},
      {"Winamp before foobar2000", false,
       {{kFoobarClass, u"D   [foobar2000]"}, {kWinampClass, u"1. C - Winamp"}}, u"C",
       std::nullopt},
      {"Latin, symbol and emoji", false,
       {{kMediaPlayerClass, u"Caf\xE9 \x2615 \xD83D\xDE00 - Windows Media Player"}},
       u"Caf\xE9 \x2615 \xD83D\xDE00", u"Caf&#233; &#9749; &#128512;"},
      {"Cyrillic from foobar2000", false,
       {{kFoobarClass, u"\x041F\x0435\x0441\x043D\x044F   [foobar2000]"}},
       u"\x041F\x0435\x0441\x043D\x044F", u"&#1055;&#1077;&#1089;&#1085;&#1103;"},
      {"markup is not escaped", false,
       {{kMediaPlayerClass, u"Rock & Roll <live> - windows media player"}},
       u"Rock & Roll <live>", std::nullopt},
      {"lone surrogates, U+FFFF and control characters", false,
       {{kXmPlayClass, u"\x01\xD83D\xFFFF\xDE00\t"}}, u"\x01\xD83D\xFFFF\xDE00\t",
       u"\x01&#65533;&#65535;&#65533;\t"},
      {"40,000 characters", false, {{kXmPlayClass, longTitle}}, longTitle, std::nullopt},
      // The window reports 4, as if its title grew after it was measured:
      // the read has room for 4 + 4 characters.
      {"title longer than its window reports", false,
       {{kXmPlayClass, u"Song and a much longer title", 1, 4}}, u"Song and", std::nullopt},
      {"video: Light Alloy", true, {{kLightAlloyClass, u"Film - Light Alloy"}}, u"Film",
       std::nullopt},
      {"video: Japanese from Light Alloy", true,
       {{kLightAlloyClass, u"\x65E5\x672C\x306E\x6B4C - Light Alloy"}},
       u"\x65E5\x672C\x306E\x6B4C", u"&#26085;&#26412;&#12398;&#27468;"},
      {"video: Media Player Classic", true, {{kClassicClass, u"Film.avi - MEDIA PLAYER CLASSIC"}},
       u"Film.avi", std::nullopt},
      {"video: Light Alloy first", true,
       {{kClassicClass, u"B - Media Player Classic"}, {kLightAlloyClass, u"A - Light Alloy"}},
       u"A", std::nullopt},
      {"video: Light Alloy without a title is absent", true,
       {{kLightAlloyClass, u""}, {kClassicClass, u"B - media player classic"}}, u"B",
       std::nullopt},
  };
  return cases;
}

}  // namespace tms::testing
