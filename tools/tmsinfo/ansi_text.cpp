// Conversion of the host's 8-bit text to UTF-16.
#include "ansi_text.h"

#if defined(_WIN32)
#include <windows.h>
#endif

std::u16string AnsiToWide(const char* text) {
  std::u16string wide;
#if defined(_WIN32)
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 1) return wide;
  wide.resize(static_cast<size_t>(units));
  MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(&wide[0]), units);
  wide.pop_back();
#else
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  while (*bytes != 0) {
    char32_t codePoint = *bytes++;
    int trailing = codePoint >= 0xF0 ? 3 : codePoint >= 0xE0 ? 2 : codePoint >= 0xC0 ? 1 : 0;
    codePoint &= trailing == 3 ? 0x07 : trailing == 2 ? 0x0F : trailing == 1 ? 0x1F : 0x7F;
    for (; trailing > 0 && (*bytes & 0xC0) == 0x80; --trailing) {
      codePoint = (codePoint << 6) | (*bytes++ & 0x3F);
    }
    if (codePoint >= 0x10000) {
      wide.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(codePoint));
    }
  }
#endif
  return wide;
}

