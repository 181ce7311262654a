// Fuzzes the now-playing lookup over random fake desktops: player windows
// and decoys whose titles mix track numbers, player suffixes (perhaps cut
// short), blanks, surrogates and random units; odd reported lengths, Winamps
// that play, stop or hang, any platform family and code page, failing
// allocations. A result is an exact-length BSTR holding a prefix of some
// title (whole, or after its first blank); with references on NT, pure ASCII
// that reads back to such a prefix. Which prefix, the unit tests decide.
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
using tms::PlayerProbe;
using tms::fuzz::Check;
using tms::fuzz::CodePoints;
using tms::fuzz::FuzzInput;
using tms::testing::DeskWindow;

PlayerProbe PickPlayer(FuzzInput& input) {
  return input.Flag() ? input.Pick(tms::kMusicPlayers) : input.Pick(tms::kVideoPlayers);
}

// Titles hold no '&', so that every "&#" in a result is a reference.
std::u16string PickTitle(FuzzInput& input) {
  std::u16string title;
  for (int pieces = input.Byte() % 6; pieces > 0; --pieces) {
    switch (input.Byte() % 5) {
      case 0: {  // a suffix, perhaps cut short
        std::u16string suffix = PickPlayer(input).titleSuffix;
        suffix.resize(suffix.size() - (input.Flag() ? input.Count(3) % (suffix.size() + 1) : 0));
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
        for (const char16_t unit : input.Units(16)) {
          title += unit == 0 ? u'\x01' : unit == u'&' ? u'+' : unit;
        }
        break;
    }
  }
  input.MaybeHuge(title);
  return title;
}

// A window of no player: its title must never come back.
constexpr char16_t kDecoyClass[] = u"Notepad";

DeskWindow PickWindow(FuzzInput& input) {
  DeskWindow window{PickPlayer(input).windowClass, u""};
  if (input.Byte() % 8 == 0) window.windowClass = kDecoyClass;
  window.title = PickTitle(input);
  const intptr_t playStates[] = {1, 1, 0, 2, -1, tms::testing::kHungPlayState};
  window.playState = input.Pick(playStates);
  if (input.Byte() % 8 == 0) window.reportedLength = static_cast<int32_t>(input.Unit()) - 100;
  return window;
}

// The UTF-16 units that code points take.
size_t UnitsOf(const std::vector<uint32_t>& points) {
  size_t units = 0;
  for (const uint32_t point : points) units += point >= 0x10000 ? 2 : 1;
  return units;
}

void CheckOneCall(FuzzInput& input) {
  tms::testing::SingleByteCodepage singleByte;
  tms::testing::DoubleByteCodepage doubleByte;
  tms::platform::Codepage* const codepages[] = {&tms::platform::SystemCodepage(), &singleByte,
                                                &doubleByte};
  const uint32_t platformIds[] = {tms::platform::kPlatformIdNt, 1, 0, 3};
  const uint32_t platformId = input.Pick(platformIds);
  const bool nt = platformId == tms::platform::kPlatformIdNt;
  tms::testing::FakeNowPlaying fake(*input.Pick(codepages), platformId);
  // The players' titles as the library can read them, whole and after their
  // first blank; on the ANSI path, through the code page.
  std::vector<std::u16string> titles;
  for (int count = input.Byte() % 6; count > 0; --count) {
    DeskWindow window = PickWindow(input);
    if (window.windowClass == kDecoyClass) {
      fake.windows.Add(std::move(window));
      continue;
    }
    const std::u16string title =
        nt ? window.title : fake.windows.FromAnsi(fake.windows.ToAnsi(window.title).c_str());
    titles.push_back(title);
    const size_t blank = title.find(u' ');
    if (blank != std::u16string::npos) titles.push_back(title.substr(blank + 1));
    fake.windows.Add(std::move(window));
  }
  const bool video = input.Flag();
  const int32_t htmlRefs = input.Flag() ? static_cast<int32_t>(input.Word()) : 0;
  const int failing = input.Byte() % 8 == 0 ? 1 + input.Byte() % 12 : 0;

  fake.memory.FailAllocationNumber(failing);
  const Bstr bstr = video ? tms::GetCurrentVideo(fake.services, htmlRefs)
                          : tms::GetCurrentMusic(fake.services, htmlRefs);
  fake.memory.FailAllocationNumber(0);
  Check(fake.memory.live() == (bstr != nullptr ? 1 : 0));
  if (bstr == nullptr) return;
  const std::u16string got(bstr, fake.memory.BstrByteLen(bstr) / sizeof(char16_t));
  Check(bstr[got.size()] == 0);
  fake.memory.FreeBstr(bstr);
  Check(fake.memory.live() == 0);

  // A failing reference step leaves the title as it was, so a result may
  // always be the plain cut.
  const bool encoded = htmlRefs != 0 && nt;
  const auto points = encoded ? tms::fuzz::DecodeReferences(got) : std::nullopt;
  if (encoded && failing == 0) Check(points.has_value());
  // On the ANSI path the read may cut the bytes of the last character,
  // which then reads as up to three replacement characters.
  std::u16string head = got;
  for (int cut = 0;
       !nt && cut < 3 && !head.empty() && (head.back() == u'?' || head.back() == 0xFFFD); ++cut) {
    head.pop_back();
  }
  // A prefix of a title is never longer than it; decoded references are the
  // characters of a prefix, whose last pair may be cut in half.
  bool found = false;
  for (const std::u16string& text : titles) {
    found = found || text.compare(0, head.size(), head) == 0 ||
            (points && CodePoints(text.substr(0, UnitsOf(*points))) == *points);
  }
  Check(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  while (!input.empty()) CheckOneCall(input);
  return 0;
}
