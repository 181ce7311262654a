// The string services and DllGetVersion, each beside the least work that
// its contract asks for.
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "TolvaricModeSupport.h"
#include "benchmark_pairs.h"
#include "platform/memory.h"
#include "platform/posix/utf8.h"

namespace tms::bench {
namespace {

// A title as a player shows it, with one character outside ASCII.
const char16_t kTitle[] = u"Artist \u2013 A Title of Twenty-Eight Characters";
const std::u16string kLongTitle = std::u16string(kTitle) + kTitle + kTitle + kTitle;

void DllGetVersionExport(benchmark::State& state) {
  TmsDllVersionInfo info = {20, 0, 0, 0, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(DllGetVersion(&info));
    benchmark::ClobberMemory();
  }
}

// Check the size, fill four fields.
__attribute__((noipa)) int32_t FillVersion(TmsDllVersionInfo* info) {
  if (info == nullptr || info->cbSize != 20) return static_cast<int32_t>(0x80070057u);
  info->dwMajorVersion = 1;
  info->dwMinorVersion = 0;
  info->dwBuildNumber = 10;
  info->dwPlatformID = 1;
  return 0;
}

void DllGetVersionBaseline(benchmark::State& state) {
  TmsDllVersionInfo info = {20, 0, 0, 0, 0};
  for (auto _ : state) {
    benchmark::DoNotOptimize(FillVersion(&info));
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("DllGetVersion", true, DllGetVersionExport, DllGetVersionBaseline);

// Titles of 16 lengths from 9 to 144 units, visited in a fixed shuffled
// order, so that the end of the text cannot be learnt by the branch
// predictor, as it cannot be when a host measures the titles it is given.
std::vector<std::u16string> MixedTitles() {
  std::vector<std::u16string> titles;
  for (size_t i = 0; i < 16; ++i) titles.push_back(kLongTitle.substr(0, 9 + (i * 7) % 16 * 9));
  return titles;
}

// Count the units up to the first zero.
__attribute__((noipa)) int CountUnits(const char16_t* text) {
  return static_cast<int>(std::char_traits<char16_t>::length(text));
}

template <int (*kLength)(const char16_t*)>
void StringLengths(benchmark::State& state) {
  const std::vector<std::u16string> titles = MixedTitles();
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kLength(titles[next].c_str()));
    next = (next + 1) % titles.size();
  }
}

TMS_BENCHMARK_PAIR("tmsGetStringLength (9 to 144 units)", true, StringLengths<tmsGetStringLength>,
                   StringLengths<CountUnits>);

// Convert the text once, straight into the caller's buffer.
__attribute__((noipa)) void ConvertOnce(const char16_t* text, char* destination) {
  platform::Utf16ToUtf8(text, -1, destination, 1024);
}

// What the copy's contract asks for: the text held in a zero-filled block
// of its own, its ANSI length measured, a zero-filled block of that size,
// the conversion into it, the copy out, and both blocks released.
__attribute__((noipa)) void ConvertThroughBlocks(const char16_t* text, char* destination) {
  platform::Memory& memory = platform::SystemMemory();
  const size_t units = std::char_traits<char16_t>::length(text);
  auto* wide = static_cast<char16_t*>(memory.AllocZeroedBlock(2 * units + 2));
  memcpy(wide, text, 2 * units + 2);
  const int32_t bytes = platform::Utf16ToUtf8(wide, -1, nullptr, 0);
  auto* ansi = static_cast<char*>(memory.AllocZeroedBlock(bytes + 1));
  platform::Utf16ToUtf8(wide, -1, ansi, bytes);
  strcpy(destination, ansi);
  memory.FreeBlock(ansi);
  memory.FreeBlock(wide);
}

const std::u16string kShortTitle = kTitle;

template <const std::u16string* kText, void (*kCopy)(const char16_t*, char*)>
void CopyString(benchmark::State& state) {
  char destination[1024];
  for (auto _ : state) {
    kCopy(kText->c_str(), destination);
    benchmark::DoNotOptimize(destination);
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("tmsCopyString (36 units)", true, (CopyString<&kShortTitle, tmsCopyString>),
                   (CopyString<&kShortTitle, ConvertOnce>));
TMS_BENCHMARK_PAIR("tmsCopyString (144 units)", true, (CopyString<&kLongTitle, tmsCopyString>),
                   (CopyString<&kLongTitle, ConvertOnce>));
TMS_BENCHMARK_PAIR("tmsCopyString (36 units) vs its two blocks", true,
                   (CopyString<&kShortTitle, tmsCopyString>),
                   (CopyString<&kShortTitle, ConvertThroughBlocks>));

void FreeBstrExport(benchmark::State& state) {
  platform::Memory& memory = platform::SystemMemory();
  for (auto _ : state) tmsFreeBSTR(memory.AllocBstr(kTitle));
}

// Allocate the same BSTR and release its block directly.
void FreeBstrBaseline(benchmark::State& state) {
  platform::Memory& memory = platform::SystemMemory();
  for (auto _ : state) {
    Bstr bstr = memory.AllocBstr(kTitle);
    benchmark::DoNotOptimize(bstr);
    free(reinterpret_cast<uint32_t*>(bstr) - 1);
  }
}

TMS_BENCHMARK_PAIR("allocate + tmsFreeBSTR", true, FreeBstrExport, FreeBstrBaseline);

}  // namespace
}  // namespace tms::bench
