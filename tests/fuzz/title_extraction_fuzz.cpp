// Fuzzes the now-playing lookup over a random fake desktop: windows of the
// library's players (classes in any letter case, decoys) whose titles are
// made of track numbers, player suffixes in any letter case or cut short,
// blanks, surrogates, U+FFFF, control characters and random units, now and
// then tens of thousands of them; titles that change once measured, lengths
// that a window of the own process may report, Winamps that play, stop or
// hang; the NT family or not, in three code pages; now and then a failing
// allocation. Whatever comes back must be an exact-length BSTR that cuts
// some window's title (whole, or after its first blank) at some point, pure
// ASCII reading back to that cut when references were asked for on NT;
// nothing may stay allocated after it is released. Which point, and which
// player, the table-driven unit tests decide.
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
using tms::fuzz::FuzzInput;
using tms::testing::FakeWindow;

PlayerProbe PickPlayer(FuzzInput& input) {
  return input.Flag() ? input.Pick(tms::kMusicPlayers) : input.Pick(tms::kVideoPlayers);
}

char16_t FlipCase(char16_t unit) {
  if (unit >= u'a' && unit <= u'z') return static_cast<char16_t>(unit - 32);
  if (unit >= u'A' && unit <= u'Z') return static_cast<char16_t>(unit + 32);
  return unit;
}

// Titles hold no '&', so that every "&#" in a result is a reference.
std::u16string PickTitle(FuzzInput& input) {
  std::u16string title;
  for (int pieces = input.Byte() % 6; pieces > 0; --pieces) {
    switch (input.Byte() % 5) {
      case 0: {  // a suffix, perhaps cut short, in any letter case
        std::u16string suffix = PickPlayer(input).titleSuffix;
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
        for (const char16_t unit : input.Units(16)) {
          title += unit == 0 ? u'\x01' : unit == u'&' ? u'+' : unit;
        }
        break;
    }
  }
  input.MaybeHuge(title);
  return title;
}

FakeWindow PickWindow(FuzzInput& input) {
  FakeWindow window;
  window.windowClass = PickPlayer(input).windowClass;
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

// The code points of a referenced text: "&#N;" is N, anything else itself.
std::optional<std::vector<uint32_t>> ReadReferences(const std::u16string& text) {
  std::vector<uint32_t> points;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= 128) return std::nullopt;  // not pure ASCII
    if (text[i] != u'&') {
      points.push_back(text[i]);
      continue;
    }
    uint32_t point = 0;
    size_t digit = i + 2;
    if (digit >= text.size() || text[i + 1] != u'#') return std::nullopt;
    for (; digit < text.size() && text[digit] >= u'0' && text[digit] <= u'9'; ++digit) {
      point = point * 10 + (text[digit] - u'0');
      if (point > 0x10FFFF) return std::nullopt;
    }
    if (digit == i + 2 || digit >= text.size() || text[digit] != u';') return std::nullopt;
    points.push_back(point);
    i = digit;
  }
  return points;
}

// Whether `points` are the characters of the first units of `text`. A cut
// between the two halves of a pair leaves a lone surrogate, read as U+FFFD.
bool ReadsAsCutOf(const std::vector<uint32_t>& points, const std::u16string& text) {
  size_t unit = 0;
  for (const uint32_t point : points) {
    if (unit >= text.size()) return false;
    const std::vector<uint32_t> pair = tms::fuzz::CodePoints(text.substr(unit, 2));
    if (pair.size() == 1 && pair[0] == point) {
      unit += 2;
    } else if (tms::fuzz::CodePoints(text.substr(unit, 1))[0] == point) {
      unit += 1;
    } else {
      return false;
    }
  }
  return true;
}

// The whole title, and what follows its first blank.
std::vector<std::u16string> Cuttable(const std::u16string& title) {
  std::vector<std::u16string> texts = {title};
  const size_t blank = title.find(u' ');
  if (blank != std::u16string::npos) texts.push_back(title.substr(blank + 1));
  return texts;
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
  // The titles as the library can read them: on the ANSI path, through the
  // code page.
  std::vector<std::u16string> titles;
  for (int count = input.Byte() % 6; count > 0; --count) {
    FakeWindow window = PickWindow(input);
    for (const std::u16string& title : {window.title, window.titleAfterMeasure.value_or(u"")}) {
      titles.push_back(nt ? title : fake.windows.FromAnsi(fake.windows.ToAnsi(title).c_str()));
    }
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
  const std::optional<std::vector<uint32_t>> points =
      encoded ? ReadReferences(got) : std::nullopt;
  if (encoded && failing == 0) Check(points.has_value());
  // On the ANSI path the read may cut the bytes of the last character,
  // which then reads as up to three replacement characters.
  std::u16string head = got;
  for (int cut = 0; !nt && cut < 3 && !head.empty() &&
                    (head.back() == u'?' || head.back() == 0xFFFD);
       ++cut) {
    head.pop_back();
  }
  bool found = false;
  for (const std::u16string& title : titles) {
    for (const std::u16string& text : Cuttable(title)) {
      found = found || text.compare(0, got.size(), got) == 0 ||
              text.compare(0, head.size(), head) == 0 || (points && ReadsAsCutOf(*points, text));
    }
  }
  Check(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  while (!input.empty()) CheckOneCall(input);
  return 0;
}
