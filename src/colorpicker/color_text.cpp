// The texts of the colour picker.
#include "colorpicker/color_text.h"

namespace tms {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kKeyPrefix[] = "Color ";

// Writes `count` uppercase hexadecimal digits of `number`, most significant
// first.
char* PutHex(char* out, uint32_t number, int count) {
  for (int i = count - 1; i >= 0; --i) {
    out[i] = kHexDigits[number & 0xF];
    number >>= 4;
  }
  return out + count;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void FormatColorKey(int32_t index, char* key) {
  char* out = key;
  for (const char* p = kKeyPrefix; *p != 0; ++p) *out++ = *p;
  // The magnitude as unsigned, so that the most negative index works too.
  uint32_t magnitude = static_cast<uint32_t>(index);
  if (index < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;
  }
  char reversed[10];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) *out++ = reversed[--count];
  *out = 0;
}

void FormatColorValue(uint32_t color, char* value) {
  value[0] = '0';
  value[1] = 'x';
  *PutHex(value + 2, color, 8) = 0;
}

void FormatHtmlColor(uint32_t color, char* text) {
  const uint32_t rgb = ((color >> 16) & 0xFF) | (color & 0xFF00) | ((color & 0xFF) << 16);
  text[0] = '#';
  *PutHex(text + 1, rgb, 6) = 0;
}

uint32_t ParseProfileNumber(const char* text, uint32_t fallback) {
  if (text == nullptr || *text == 0) return fallback;
  const char* p = text;
  while (*p != 0 && static_cast<unsigned char>(*p) <= ' ') ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  uint32_t base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  }
  uint32_t number = 0;
  for (int digit = DigitValue(*p); digit >= 0 && static_cast<uint32_t>(digit) < base;
       digit = DigitValue(*++p)) {
    number = number * base + static_cast<uint32_t>(digit);
  }
  return negative ? 0u - number : number;
}

}  // namespace tms
