// The colour picker's texts for its sixteen custom colours (key, stored
// value, the value read back) and the HTML colour, beside the same texts
// made only for what the picker gives them: indexes 0 to 15, and values of
// "0x" and exactly eight hexadecimal digits.
#include <string.h>

#include "benchmark_pairs.h"
#include "colorpicker/color_text.h"

namespace tms::bench {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

__attribute__((noipa)) uint32_t LibraryTexts(const uint32_t* colors, char* html) {
  char key[kColorTextSize];
  char value[kColorTextSize];
  uint32_t sum = 0;
  for (int32_t i = 0; i < 16; ++i) {
    FormatColorKey(i, key);
    FormatColorValue(colors[i], value);
    sum += ParseProfileNumber(value, 0) + static_cast<uint8_t>(key[6]);
  }
  FormatHtmlColor(colors[0], html);
  return sum;
}

uint32_t HexDigit(char c) {
  return c <= '9' ? static_cast<uint32_t>(c - '0') : static_cast<uint32_t>((c | 0x20) - 'a' + 10);
}

__attribute__((noipa)) uint32_t BaselineTexts(const uint32_t* colors, char* html) {
  char key[kColorTextSize] = "Color ";
  char value[kColorTextSize] = "0x";
  uint32_t sum = 0;
  for (int32_t i = 0; i < 16; ++i) {
    char* digits = key + 6;
    if (i >= 10) *digits++ = '1';
    *digits++ = static_cast<char>('0' + i % 10);
    *digits = 0;
    for (int digit = 0; digit < 8; ++digit)
      value[2 + digit] = kHex[(colors[i] >> (28 - 4 * digit)) & 0xF];
    value[10] = 0;
    uint32_t parsed = 0;
    for (int digit = 2; digit < 10; ++digit) parsed = parsed << 4 | HexDigit(value[digit]);
    sum += parsed + static_cast<uint8_t>(key[6]);
  }
  const uint32_t color = colors[0];
  const uint32_t rgb = (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF);
  html[0] = '#';
  for (int digit = 0; digit < 6; ++digit) html[1 + digit] = kHex[(rgb >> (20 - 4 * digit)) & 0xF];
  html[7] = 0;
  return sum;
}

template <uint32_t (*kTexts)(const uint32_t*, char*)>
void ColorTexts(benchmark::State& state) {
  uint32_t colors[16];
  for (uint32_t i = 0; i < 16; ++i) colors[i] = 0x00FF8000u ^ (i * 0x00123457u);
  char html[kHtmlColorSize];
  for (auto _ : state) {
    benchmark::DoNotOptimize(kTexts(colors, html));
    benchmark::ClobberMemory();
  }
}

TMS_BENCHMARK_PAIR("colour picker texts (16 keys, values, reads; HTML)", true,
                   ColorTexts<LibraryTexts>, ColorTexts<BaselineTexts>);

}  // namespace
}  // namespace tms::bench
