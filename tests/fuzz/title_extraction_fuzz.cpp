// Fuzzes the now-playing lookup over a random fake desktop: player windows
// (classes in any letter case, decoys) whose titles are made of track
// numbers, player suffixes in any letter case or cut short, blanks,
// surrogates, U+FFFF, control characters and random units, now and then
// tens of thousands of them; titles that change once measured, lengths that
// a window of the own process may report, Winamps that play, stop or hang;
// the NT family or not, in three code pages; now and then a failing
// allocation. The title must be what a small model of the probe order and
// the cutting rules gives, as an exact-length BSTR, and nothing may stay
// allocated after it is released.
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_codepages.h"
#include "fakes/fake_window_manager.h"
#include "fuzz/code_points.h"
#include "fuzz/fuzz_input.h"
#include "nowplaying/player_probe.h"

namespace {

using tms::Bstr;
using tms::fuzz::Check;
using tms::fuzz::FuzzInput;
using tms::testing::FakeWindow;
using tms::testing::FakeWindowManager;
using Title = std::optional<std::u16string>;

// The players in probe order, written out apart from the library's tables.
struct Player {
  const char16_t* windowClass;
  bool stripLeadingNumber;
  const char16_t* titleSuffix;
};
const Player kPlayers[] = {
    {u"XMPLAY-MAIN", false, u""},
    {u"WMPlayerApp", false, u" - Windows Media Player"},
    {u"Winamp v1.x", true, u" - Winamp"},
    {u"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}", false, u"   [foobar2000"},
    {u"LightAlloyFront", false, u" - Light Alloy"},
    {u"MediaPlayerClassicW", false, u" - Media Player Classic"},
};
constexpr size_t kWinamp = 2;

// The players that a lookup of music, or of video, probes.
struct PlayerRange {
  size_t first;
  size_t end;
};
PlayerRange PlayersFor(bool video) {
  return video ? PlayerRange{4, 6} : PlayerRange{0, 4};
}

char16_t FoldCase(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
}

char16_t FlipCase(char16_t unit) {
  if (unit >= u'a' && unit <= u'z') return static_cast<char16_t>(unit - 32);
  return FoldCase(unit);
}

bool SameIgnoringCase(const std::u16string& text, size_t at, const std::u16string& part) {
  if (at + part.size() > text.size()) return false;
  for (size_t i = 0; i < part.size(); ++i) {
    if (FoldCase(text[at + i]) != FoldCase(part[i])) return false;
  }
  return true;
}

// The track's name: up to the first blank dropped for Winamp, then cut at
// the first occurrence of the suffix.
std::u16string Cut(std::u16string title, const Player& player) {
  const size_t blank = title.find(u' ');
  if (player.stripLeadingNumber && blank != std::u16string::npos) title.erase(0, blank + 1);
  const std::u16string suffix = player.titleSuffix;
  for (size_t at = 0; !suffix.empty() && at < title.size(); ++at) {
    if (SameIgnoringCase(title, at, suffix)) return title.substr(0, at);
  }
  return title;
}

std::u16string PickTitle(FuzzInput& input) {
  std::u16string title;
  for (int pieces = input.Byte() % 6; pieces > 0; --pieces) {
    switch (input.Byte() % 5) {
      case 0: {  // a suffix, perhaps cut short, in any letter case
        std::u16string suffix = input.Pick(kPlayers).titleSuffix;
        suffix.resize(suffix.size() - (input.Flag() ? input.Count(3) % (suffix.size() + 1) : 0));
        for (char16_t& unit : suffix) {
          if (input.Flag()) unit = FlipCase(unit);
        }
        // Letters that fold to ASCII ones outside ASCII: no match.
        const char16_t lookalikes[] = {0x130, 0x131, 0x17F, 0x212A};
        if (!suffix.empty() && input.Byte() % 8 == 0) {
          suffix[input.Byte() % suffix.size()] = input.Pick(lookalikes);
        }
        title += suffix;
        break;
      }
      case 1:
        title += std::u16string(input.Count(3), u'1') + u". ";
        break;
      case 2:
        title.append(input.Count(6), u' ');
        break;
      case 3: {
        const char16_t odd[] = {0xD83D, 0xDE00, 0xFFFF, 0xFFFE, 0x01, 0x09, 0x1F, 0x7F, 0x80, 0xE9};
        title += input.Pick(odd);
        break;
      }
      default:
        for (const char16_t unit : input.Units(16)) title += unit != 0 ? unit : u'\x01';
        break;
    }
  }
  input.MaybeHuge(title);
  return title;
}

FakeWindow PickWindow(FuzzInput& input) {
  FakeWindow window;
  window.windowClass = input.Pick(kPlayers).windowClass;
  for (char16_t& unit : window.windowClass) {
    if (input.Byte() % 4 == 0) unit = FlipCase(unit);
  }
  if (input.Byte() % 8 == 0) window.windowClass += u'x';  // a decoy
  window.title = PickTitle(input);
  const uintptr_t replies[] = {1, 1, 0, 2, ~uintptr_t{0}};
  window.reply = input.Byte() % 6 == 0 ? std::nullopt : std::optional(input.Pick(replies));
  if (input.Byte() % 4 == 0) window.titleAfterMeasure = PickTitle(input);
  if (input.Byte() % 8 == 0) window.reportedLength = static_cast<int32_t>(input.Unit()) - 100;
  return window;
}

struct Desktop {
  std::vector<FakeWindow> windows;
  bool nt;
  FakeWindowManager& conversions;  // the ANSI calls' code page

  const FakeWindow* Find(const Player& player) const {
    const std::u16string name = player.windowClass;
    for (const FakeWindow& window : windows) {
      if (window.windowClass.size() == name.size() &&
          SameIgnoringCase(window.windowClass, 0, name)) {
        return &window;
      }
    }
    return nullptr;
  }

  // The title as the probe reads it: measured, then read with room for
  // four more units (bytes on the ANSI path) than measured.
  Title Read(const Player& player) const {
    const FakeWindow* window = Find(player);
    if (window == nullptr) return std::nullopt;
    const std::u16string& read = window->titleAfterMeasure.value_or(window->title);
    const auto measured =
        static_cast<int64_t>(nt ? window->title.size() : conversions.ToAnsi(window->title).size());
    const int64_t length = window->reportedLength.value_or(measured);
    if (length <= 0) return std::nullopt;
    const auto room = static_cast<size_t>(length + 4);
    if (nt) return read.empty() ? Title() : read.substr(0, room);
    const std::string ansi = conversions.ToAnsi(read).substr(0, room);
    if (ansi.empty()) return std::nullopt;
    return conversions.FromAnsi(ansi.c_str()).substr(0, room);
  }

  Title Probe(size_t player) const {
    const Title read = Read(kPlayers[player]);
    return read ? Title(Cut(*read, kPlayers[player])) : std::nullopt;
  }

  Title Lookup(bool video) const {
    for (size_t player = PlayersFor(video).first; player < PlayersFor(video).end; ++player) {
      const Title title = Probe(player);
      if (!title) continue;
      if (player != kWinamp) return title;
      const FakeWindow* winamp = Find(kPlayers[kWinamp]);
      return winamp->reply == uintptr_t{1} ? title : std::nullopt;
    }
    return std::nullopt;
  }
};

void CheckOneCall(FuzzInput& input) {
  tms::testing::SingleByteCodepage singleByte;
  tms::testing::DoubleByteCodepage doubleByte;
  tms::platform::Codepage* const codepages[] = {&tms::platform::SystemCodepage(), &singleByte,
                                                &doubleByte};
  const uint32_t platformIds[] = {tms::platform::kPlatformIdNt, 1, 0, 3};
  const uint32_t platformId = input.Pick(platformIds);
  tms::testing::FakeNowPlaying fake(*input.Pick(codepages), platformId);
  Desktop desktop{{}, platformId == tms::platform::kPlatformIdNt, fake.windows};
  for (int count = input.Byte() % 6; count > 0; --count) {
    desktop.windows.push_back(PickWindow(input));
    fake.windows.Add(desktop.windows.back());
  }
  const bool video = input.Flag();
  const int32_t htmlRefs = input.Flag() ? static_cast<int32_t>(input.Word()) : 0;
  const int failing = input.Byte() % 8 == 0 ? 1 + input.Byte() % 12 : 0;

  fake.memory.FailAllocationNumber(failing);
  const Bstr bstr = video ? tms::GetCurrentVideo(fake.services, htmlRefs)
                          : tms::GetCurrentMusic(fake.services, htmlRefs);
  fake.memory.FailAllocationNumber(0);
  Check(fake.memory.live() == (bstr != nullptr ? 1 : 0));
  Title got;
  if (bstr != nullptr) {
    got = std::u16string(bstr, fake.memory.BstrByteLen(bstr) / sizeof(char16_t));
    Check(bstr[got->size()] == 0);
  }
  fake.memory.FreeBstr(bstr);
  Check(fake.memory.live() == 0);

  const bool encoded = htmlRefs != 0 && desktop.nt;
  if (failing == 0) {
    const Title expected = desktop.Lookup(video);
    Check(got == (expected && encoded ? tms::fuzz::WithReferences(*expected) : expected));
    return;
  }
  // A failing probe gives nothing and the list moves on; a failing
  // reference step leaves the title as it was.
  if (!got) return;
  bool known = false;
  for (size_t player = PlayersFor(video).first; player < PlayersFor(video).end; ++player) {
    const Title title = desktop.Probe(player);
    known = known || got == title || (encoded && title && got == tms::fuzz::WithReferences(*title));
  }
  Check(known);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  while (!input.empty()) CheckOneCall(input);
  return 0;
}
