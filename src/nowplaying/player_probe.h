// Which track a media player is playing, judged from the title of its main
// window: the known players are probed in a fixed order, and the first
// whose window has a title gives the result, cut down to the track's name.
#pragma once

#include "nowplaying/window_title.h"
#include "platform/memory.h"
#include "platform/types.h"

namespace tms {

struct PlayerProbe {
  // Class of the player's main window, searched among top-level windows.
  const WideChar* windowClass;
  // Drop everything up to and including the title's first blank (a track
  // number such as "12. ") before the suffix is cut.
  bool stripLeadingNumber;
  // The title is cut at the first occurrence of this text, matched without
  // regard to case; an empty suffix cuts nothing.
  const WideChar* titleSuffix;
};

// The players probed for music and for video, in the order they are asked.
inline constexpr PlayerProbe kMusicPlayers[] = {
    {u"XMPLAY-MAIN", false, u""},
    {u"WMPlayerApp", false, u" - Windows Media Player"},
    {u"Winamp v1.x", true, u" - Winamp"},
    {u"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}", false, u"   [foobar2000"},
};
inline constexpr PlayerProbe kVideoPlayers[] = {
    {u"LightAlloyFront", false, u" - Light Alloy"},
    {u"MediaPlayerClassicW", false, u" - Media Player Classic"},
};

// The title of the music / video that plays, as an exact-length BSTR that
// the caller owns, or null. With `htmlRefs` nonzero and on the NT family,
// characters outside ASCII become HTML references; on other families the
// flag has no effect.
Bstr GetCurrentMusic(const NowPlayingServices& services, int32_t htmlRefs);
Bstr GetCurrentVideo(const NowPlayingServices& services, int32_t htmlRefs);

// The music players in their order; a Winamp with a title that is not
// playing ends the search with null.
Bstr ProbeMusicPlayers(const NowPlayingServices& services);
Bstr ProbeVideoPlayers(const NowPlayingServices& services);

// The title of the probe's window, stripped and cut as the probe says, as a
// new exact-length BSTR; null when there is no window, the title is empty or
// memory runs out. A title equal to the suffix gives an empty BSTR.
// Example: Winamp's "12. Artist - Song - Winamp" gives "Artist - Song".
Bstr ProbePlayerWindow(const NowPlayingServices& services, const PlayerProbe& probe);

// True when Winamp's window answers its play-state query with exactly 1;
// false when it answers anything else, does not answer within about a
// second, or there is no such window.
bool IsWinampPlaying(platform::WindowManager& windows);

}  // namespace tms
