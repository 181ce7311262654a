// The texts of the colour picker.
#include "colorpicker/color_text.h"

#include <string.h>

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

// The value of each byte as a hexadecimal digit, 16 for any other byte: one
// load per byte, where three range tests each took a branch.
struct DigitValues {
  uint8_t ofByte[256];
};

constexpr DigitValues MakeDigitValues() {
  DigitValues values = {};
  for (int c = 0; c < 256; ++c) {
    values.ofByte[c] = 16;
    if (c >= '0' && c <= '9') values.ofByte[c] = static_cast<uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') values.ofByte[c] = static_cast<uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') values.ofByte[c] = static_cast<uint8_t>(c - 'A' + 10);
  }
  return values;
}

constexpr DigitValues kDigitValues = MakeDigitValues();

uint32_t DigitValue(char c) { return kDigitValues.ofByte[static_cast<unsigned char>(c)]; }

// The number in the digits at `text`, up to the first byte that is not a
// digit of the base, modulo 2^32. With the base known at compile time each
// digit costs a shift or two additions rather than a multiplication.
template <uint32_t kBase>
uint32_t ReadDigits(const char* text) {
  uint32_t number = 0;
  for (uint32_t digit = DigitValue(*text); digit < kBase; digit = DigitValue(*++text)) {
    number = number * kBase + digit;
  }
  return number;
}

}  // namespace

void FormatColorKey(int32_t index, char* key) {
  char* out = key;
  // A copy of known length: a few stores, not a loop that tests each byte.
  memcpy(out, kKeyPrefix, sizeof kKeyPrefix - 1);
  out += sizeof kKeyPrefix - 1;
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
  const uint32_t number =
      p[0] == '0' && (p[1] == 'x' || p[1] == 'X') ? ReadDigits<16>(p + 2) : ReadDigits<10>(p);
  return negative ? 0u - number : number;
}

}  // namespace tms
