// The characters of a UTF-16 title as the reference step must read them, and
// a reader of its output, written apart from the library's encoder so that
// the fuzz targets can read its output back against the title.
#pragma once

#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

namespace tms::fuzz {

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// A valid surrogate pair is one code point; a surrogate outside a pair
// stands for U+FFFD.
inline std::vector<uint32_t> CodePoints(const std::u16string& text) {
  std::vector<uint32_t> points;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t unit = text[i];
    const uint32_t next = i + 1 < text.size() ? text[i + 1] : 0;
    if (unit >= 0xD800 && unit < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
      points.push_back(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      points.push_back(unit >= 0xD800 && unit < 0xE000 ? kReplacementCharacter : unit);
    }
  }
  return points;
}

// The code points of a text with references: an ASCII character stands for
// itself, "&#N;" for a character outside ASCII, N in decimal without leading
// zeros. nullopt when the text is not written that way (not pure ASCII, a
// zero unit, a malformed reference, or one that ASCII did not need).
inline std::optional<std::vector<uint32_t>> DecodeReferences(const std::u16string& text) {
  std::vector<uint32_t> points;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 0 || text[i] >= 128) return std::nullopt;
    if (text[i] != u'&') {
      points.push_back(text[i]);
      continue;
    }
    uint32_t point = 0;
    size_t end = i + 2;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9' && point <= 0x10FFFF) {
      point = point * 10 + (text[end++] - u'0');
    }
    // No digits leave the point at 0, below 128.
    if (text.compare(i, 2, u"&#") != 0 || text[i + 2] == u'0' || end >= text.size() ||
        text[end] != u';' || point < 128 || point > 0x10FFFF) {
      return std::nullopt;
    }
    points.push_back(point);
    i = end;
  }
  return points;
}

}  // namespace tms::fuzz
