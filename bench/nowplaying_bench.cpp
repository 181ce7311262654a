// Now playing beside the least work its contract leaves: the references
// written in one pass into a buffer that is already there, and the track's
// name found in a title at hand and copied into a BSTR of its own.
#include <string>

#include "benchmark_pairs.h"
#include "nowplaying/html_references.h"
#include "nowplaying/player_probe.h"
#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/window_manager.h"

namespace tms::bench {
namespace {

platform::Memory& memory = platform::SystemMemory();

const std::u16string kLatinTitle = u"Artist \u2013 A Title of Twenty-Eight Characters";
const std::u16string kCyrillicTitle =
    u"\u0418\u0441\u043F\u043E\u043B\u043D\u0438\u0442\u0435"
    u"\u043B\u044C \u2013 \u041F\u0435\u0441\u043D\u044F";
const std::u16string kEmojiTitle = u"Song \U0001F3B5\U0001F3B6 \u00E9t\u00E9 2024";

void EncodeLibrary(Bstr* title) {
  EncodeHtmlReferences(memory, title);
}

WideChar buffer[1024];

// Each character below 128 as it is, every other one (a surrogate pair as
// one) as "&#N;", into `buffer`.
__attribute__((noipa)) void EncodeIntoBuffer(Bstr* title) {
  WideChar* out = buffer;
  for (const WideChar* at = *title; *at != 0; ++at) {
    uint32_t point = *at;
    if (point < 128) {
      *out++ = static_cast<WideChar>(point);
      continue;
    }
    if (point >= 0xD800 && point < 0xDC00 && at[1] >= 0xDC00 && at[1] < 0xE000) {
      point = 0x10000 + ((point - 0xD800) << 10) + (*++at - 0xDC00);
    } else if (point >= 0xD800 && point < 0xE000) {
      point = 0xFFFD;
    }
    WideChar digits[8];
    int count = 0;
    for (; point != 0; point /= 10) digits[count++] = static_cast<WideChar>(u'0' + point % 10);
    *out++ = u'&';
    *out++ = u'#';
    while (count > 0) *out++ = digits[--count];
    *out++ = u';';
  }
  *out = 0;
}

// The pass and the one exact-length BSTR that the contract makes of it.
__attribute__((noipa)) void EncodeIntoBufferAndBstr(Bstr* title) {
  EncodeIntoBuffer(title);
  Bstr encoded = memory.AllocBstr(buffer);
  memory.FreeBstr(*title);
  *title = encoded;
}

// Both sides make the title that the call replaces, and release the result.
template <const std::u16string* kTitle, void (*kEncode)(Bstr*)>
void Encode(benchmark::State& state) {
  for (auto _ : state) {
    Bstr title = memory.AllocBstr(kTitle->c_str());
    kEncode(&title);
    benchmark::DoNotOptimize(title);
    memory.FreeBstr(title);
  }
}

TMS_BENCHMARK_PAIR("EncodeHtmlReferences (36 units, 1 outside ASCII)", true,
                   (Encode<&kLatinTitle, EncodeLibrary>), (Encode<&kLatinTitle, EncodeIntoBuffer>));
TMS_BENCHMARK_PAIR("EncodeHtmlReferences (18 units, Cyrillic)", true,
                   (Encode<&kCyrillicTitle, EncodeLibrary>),
                   (Encode<&kCyrillicTitle, EncodeIntoBuffer>));
TMS_BENCHMARK_PAIR("EncodeHtmlReferences (20 units, emoji)", true,
                   (Encode<&kEmojiTitle, EncodeLibrary>), (Encode<&kEmojiTitle, EncodeIntoBuffer>));
TMS_BENCHMARK_PAIR("EncodeHtmlReferences (36 units) vs the BSTR it must make", true,
                   (Encode<&kLatinTitle, EncodeLibrary>),
                   (Encode<&kLatinTitle, EncodeIntoBufferAndBstr>));

// A player's window that is always there and answers at once, on the NT
// family.
class ReadyWindow final : public platform::WindowManager {
 public:
  explicit ReadyWindow(const std::u16string& title) : title_(title) {}

  uint32_t VersionPlatformId() override { return platform::kPlatformIdNt; }
  WindowHandle FindWindowWide(const WideChar*, const WideChar*) override { return this; }
  WindowHandle FindWindowAnsi(const char*, const char*) override { return this; }
  int32_t WindowTextLengthWide(WindowHandle) override {
    return static_cast<int32_t>(title_.size());
  }
  int32_t WindowTextLengthAnsi(WindowHandle) override { return 0; }
  int32_t WindowTextWide(WindowHandle, WideChar* buffer, int32_t count) override {
    const auto length = static_cast<int32_t>(title_.size()) < count - 1
                            ? static_cast<int32_t>(title_.size())
                            : count - 1;
    title_.copy(buffer, static_cast<size_t>(length));
    buffer[length] = 0;
    return length;
  }
  int32_t WindowTextAnsi(WindowHandle, char*, int32_t) override { return 0; }
  bool SendMessageAbortIfHung(WindowHandle, uint32_t, uintptr_t, intptr_t, uint32_t,
                              uintptr_t* reply) override {
    *reply = 1;
    return true;
  }

 private:
  const std::u16string& title_;
};

const std::u16string kMediaPlayerTitle = kLatinTitle + u" - Windows Media Player";
const std::u16string kWinampTitle = u"12. " + kLatinTitle + u" - Winamp";
const PlayerProbe kMediaPlayer = {u"WMPlayerApp", false, u" - Windows Media Player"};
const PlayerProbe kWinamp = {u"Winamp v1.x", true, u" - Winamp"};

template <const std::u16string* kTitle, const PlayerProbe* kProbe>
void Probe(benchmark::State& state) {
  ReadyWindow window(*kTitle);
  const NowPlayingServices services = {window, memory, platform::SystemCodepage()};
  for (auto _ : state) {
    Bstr title = ProbePlayerWindow(services, *kProbe);
    benchmark::DoNotOptimize(title);
    memory.FreeBstr(title);
  }
}

WideChar FoldCase(WideChar unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<WideChar>(unit + 32) : unit;
}

// The track's name in a title at hand: after the first blank when the
// probe says so, up to the first occurrence of the suffix in any letter
// case, copied into a new BSTR.
__attribute__((noipa)) Bstr CutTitle(const WideChar* title, const PlayerProbe& probe) {
  const WideChar* start = title;
  if (probe.stripLeadingNumber) {
    for (const WideChar* at = title; *at != 0; ++at) {
      if (*at == u' ') {
        start = at + 1;
        break;
      }
    }
  }
  const WideChar* end = start;
  for (; *end != 0; ++end) {
    size_t matched = 0;
    while (probe.titleSuffix[matched] != 0 &&
           FoldCase(end[matched]) == FoldCase(probe.titleSuffix[matched])) {
      ++matched;
    }
    if (probe.titleSuffix[matched] == 0) break;
  }
  return memory.AllocBstrLen(start, static_cast<uint32_t>(end - start));
}

// The same, from the scratch BSTR of the measured length and ten more units
// that the contract has the title read into.
__attribute__((noipa)) Bstr CutTitleFromScratch(const WideChar* title, const PlayerProbe& probe) {
  const auto length = static_cast<uint32_t>(std::char_traits<WideChar>::length(title));
  Bstr scratch = memory.AllocBstrLen(nullptr, length + 10);
  std::char_traits<WideChar>::copy(scratch, title, length + 1);
  Bstr name = CutTitle(scratch, probe);
  memory.FreeBstr(scratch);
  return name;
}

template <const std::u16string* kTitle, const PlayerProbe* kProbe,
          Bstr (*kCut)(const WideChar*, const PlayerProbe&)>
void Cut(benchmark::State& state) {
  for (auto _ : state) {
    Bstr title = kCut(kTitle->c_str(), *kProbe);
    benchmark::DoNotOptimize(title);
    memory.FreeBstr(title);
  }
}

TMS_BENCHMARK_PAIR("ProbePlayerWindow (Media Player, 59 units)", true,
                   (Probe<&kMediaPlayerTitle, &kMediaPlayer>),
                   (Cut<&kMediaPlayerTitle, &kMediaPlayer, CutTitle>));
TMS_BENCHMARK_PAIR("ProbePlayerWindow (Winamp, 49 units)", true, (Probe<&kWinampTitle, &kWinamp>),
                   (Cut<&kWinampTitle, &kWinamp, CutTitle>));
TMS_BENCHMARK_PAIR("ProbePlayerWindow (Winamp) vs the scratch it must read into", true,
                   (Probe<&kWinampTitle, &kWinamp>),
                   (Cut<&kWinampTitle, &kWinamp, CutTitleFromScratch>));

}  // namespace
}  // namespace tms::bench
