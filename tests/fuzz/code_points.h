// The characters of a UTF-16 title as the reference step must read them,
// written apart from the library's encoder so that the fuzz targets can read
// its output back against them.
#pragma once

#include <stdint.h>

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

}  // namespace tms::fuzz
