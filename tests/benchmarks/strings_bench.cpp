// The string services and DllGetVersion, each beside the least work that
// its contract asks for.
#include <stdlib.h>
#include <string.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "benchmarks/benchmark_pairs.h"
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

template <const std::u16string* kText>
void StringLengthExport(benchmark::State& state) {
  for (auto _ : state) {
    const TmsWideChar* text = kText->c_str();
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(tmsGetStringLength(text));
  }
}

// Count the units up to the first zero.
template <const std::u16string* kText>
void StringLengthBaseline(benchmark::State& state) {
  for (auto _ : state) {
    const char16_t* text = kText->c_str();
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(std::char_traits<char16_t>::length(text));
  }
}

const std::u16string kShortTitle = kTitle;
TMS_BENCHMARK_PAIR("tmsGetStringLength (36 units)", true, StringLengthExport<&kShortTitle>,
                   StringLengthBaseline<&kShortTitle>);
TMS_BENCHMARK_PAIR("tmsGetStringLength (144 units)", true, StringLengthExport<&kLongTitle>,
                   StringLengthBaseline<&kLongTitle>);

template <const std::u16string* kText>
void CopyStringExport(benchmark::State& state) {
  char destination[1024];
  for (auto _ : state) {
    tmsCopyString(kText->c_str(), destination);
    benchmark::DoNotOptimize(destination);
    benchmark::ClobberMemory();
  }
}

// Convert the text once, straight into the caller's buffer.
template <const std::u16string* kText>
void CopyStringBaseline(benchmark::State& state) {
  char destination[1024];
  for (auto _ : state) {
    platform::Utf16ToUtf8(kText->c_str(), -1, destination, sizeof destination);
    benchmark::DoNotOptimize(destination);
    benchmark::ClobberMemory();
  }
}

// What the copy's contract asks for: the text held in a zero-filled block
// of its own, its ANSI length measured, a zero-filled block of that size,
// the conversion into it, the copy out, and both blocks released.
template <const std::u16string* kText>
void CopyStringThroughBlocks(benchmark::State& state) {
  char destination[1024];
  platform::Memory& memory = platform::SystemMemory();
  for (auto _ : state) {
    const char16_t* text = kText->c_str();
    const size_t units = std::char_traits<char16_t>::length(text);
    auto* wide = static_cast<char16_t*>(memory.AllocZeroedBlock(2 * units + 2));
    memcpy(wide, text, 2 * units + 2);
    const int32_t bytes = platform::Utf16ToUtf8(wide, -1, nullptr, 0);
    auto* ansi = static_cast<char*>(memory.AllocZeroedBlock(bytes + 1));
    platform::Utf16ToUtf8(wide, -1, ansi, bytes);
    strcpy(destination, ansi);
    memory.FreeBlock(ansi);
    memory.FreeBlock(wide);
    benchmark::DoNotOptimize(destination);
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("tmsCopyString (36 units)", true, CopyStringExport<&kShortTitle>,
                   CopyStringBaseline<&kShortTitle>);
TMS_BENCHMARK_PAIR("tmsCopyString (144 units)", true, CopyStringExport<&kLongTitle>,
                   CopyStringBaseline<&kLongTitle>);
TMS_BENCHMARK_PAIR("tmsCopyString (36 units) vs its blocks", true,
                   CopyStringExport<&kShortTitle>, CopyStringThroughBlocks<&kShortTitle>);

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
