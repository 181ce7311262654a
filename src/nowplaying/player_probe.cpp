// Probing the known media players' windows and cutting their titles.
#include "nowplaying/player_probe.h"

#include "nowplaying/html_references.h"
#include "platform/ascii_case.h"
#include "platform/unique_bstr.h"

namespace tms {
namespace {

const PlayerProbe& kXmPlay = kMusicPlayers[0];
const PlayerProbe& kWindowsMediaPlayer = kMusicPlayers[1];
const PlayerProbe& kWinamp = kMusicPlayers[2];
const PlayerProbe& kFoobar2000 = kMusicPlayers[3];
const PlayerProbe& kLightAlloy = kVideoPlayers[0];
const PlayerProbe& kMediaPlayerClassic = kVideoPlayers[1];

// Winamp's play-state query: WM_USER with wParam 0 and lParam 104.
constexpr char kWinampClassAnsi[] = "Winamp v1.x";
constexpr uint32_t kWinampQueryMessage = 0x400;
constexpr intptr_t kWinampQueryPlayState = 104;
constexpr uintptr_t kWinampPlaying = 1;
// A hung player must not freeze the host for longer than this.
constexpr uint32_t kWinampQueryTimeoutMilliseconds = 1000;

// The scratch that receives a title has ten spare units beyond the measured
// length, and the read may fill five of them, so a title that grew since it
// was measured arrives cut rather than overflowing anything.
constexpr int32_t kScratchSpare = 10;
constexpr int32_t kReadSpare = 5;

// Position of the first occurrence of `needle` in `text` with ASCII letters
// compared without regard to case, or -1. An empty needle is never found.
// Every suffix is ASCII, so folding ASCII alone gives the same match on
// every system and in every locale.
int32_t FindIgnoringCase(const WideChar* text, const WideChar* needle) {
  if (needle[0] == 0) return -1;
  for (int32_t start = 0; text[start] != 0; ++start) {
    int32_t matched = 0;
    while (needle[matched] != 0 &&
           AsciiLower(text[start + matched]) == AsciiLower(needle[matched])) {
      ++matched;
    }
    if (needle[matched] == 0) return start;
  }
  return -1;
}

const WideChar* FindBlank(const WideChar* text) {
  for (; *text != 0; ++text) {
    if (*text == u' ') return text;
  }
  return nullptr;
}

Bstr WithHtmlReferencesOnRequest(const NowPlayingServices& services, Bstr found,
                                 int32_t htmlRefs) {
  if (found == nullptr) return nullptr;
  UniqueBstr title(services.memory, found);
  if (htmlRefs != 0 && IsNtPlatform(services.windows)) {
    EncodeHtmlReferences(services.memory, title.slot());
  }
  return title.release();
}

}  // namespace

Bstr GetCurrentMusic(const NowPlayingServices& services, int32_t htmlRefs) {
  return WithHtmlReferencesOnRequest(services, ProbeMusicPlayers(services), htmlRefs);
}

Bstr GetCurrentVideo(const NowPlayingServices& services, int32_t htmlRefs) {
  return WithHtmlReferencesOnRequest(services, ProbeVideoPlayers(services), htmlRefs);
}

Bstr ProbeMusicPlayers(const NowPlayingServices& services) {
  if (Bstr title = ProbePlayerWindow(services, kXmPlay)) return title;
  if (Bstr title = ProbePlayerWindow(services, kWindowsMediaPlayer)) return title;
  if (Bstr title = ProbePlayerWindow(services, kWinamp)) {
    if (IsWinampPlaying(services.windows)) return title;
    // A stopped or paused Winamp means nothing plays: later players are
    // not asked.
    services.memory.FreeBstr(title);
    return nullptr;
  }
  return ProbePlayerWindow(services, kFoobar2000);
}

Bstr ProbeVideoPlayers(const NowPlayingServices& services) {
  if (Bstr title = ProbePlayerWindow(services, kLightAlloy)) return title;
  return ProbePlayerWindow(services, kMediaPlayerClassic);
}

Bstr ProbePlayerWindow(const NowPlayingServices& services, const PlayerProbe& probe) {
  WindowHandle window = PlatformFindWindow(services, probe.windowClass, nullptr);
  if (window == nullptr) return nullptr;
  // A window of the caller's own process answers the length itself, so any
  // value may come back; one that leaves no room for the spare is refused.
  const int32_t length = PlatformGetWindowTextLength(services, window);
  if (length <= 0 || length > INT32_MAX - kScratchSpare) return nullptr;

  UniqueBstr title(services.memory,
                   services.memory.AllocBstrLen(nullptr, static_cast<uint32_t>(length) +
                                                             kScratchSpare));
  if (!title) return nullptr;
  if (PlatformGetWindowText(services, window, title.get(), length + kReadSpare) == 0) {
    return nullptr;
  }

  // The name starts after the first blank when the probe strips a track
  // number, and ends at the first occurrence of the suffix after that. The
  // result is one exact-length copy of it, made before the scratch, which
  // is longer than its text, is released.
  const WideChar* name = title.get();
  if (probe.stripLeadingNumber) {
    const WideChar* blank = FindBlank(name);
    if (blank != nullptr) name = blank + 1;
  }
  const int32_t suffixAt = FindIgnoringCase(name, probe.titleSuffix);
  return suffixAt >= 0 ? services.memory.AllocBstrLen(name, static_cast<uint32_t>(suffixAt))
                       : services.memory.AllocBstr(name);
}

bool IsWinampPlaying(platform::WindowManager& windows) {
  // Looked up afresh and with the ANSI call on both families.
  WindowHandle window = windows.FindWindowAnsi(kWinampClassAnsi, nullptr);
  if (window == nullptr) return false;
  uintptr_t reply = 0;
  if (!windows.SendMessageAbortIfHung(window, kWinampQueryMessage, 0, kWinampQueryPlayState,
                                      kWinampQueryTimeoutMilliseconds, &reply)) {
    return false;
  }
  return reply == kWinampPlaying;
}

}  // namespace tms
