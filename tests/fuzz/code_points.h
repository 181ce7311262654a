// The characters of a UTF-16 title as the reference step must read them,
// and the referenced text it must make of them, written apart from the
// library's encoder so that the fuzz targets can hold it to them.
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

// ASCII as it is, every other character as "&#N;".
inline std::u16string WithReferences(const std::u16string& text) {
  std::u16string out;
  for (const uint32_t point : CodePoints(text)) {
    if (point < 128) {
      out += static_cast<char16_t>(point);
      continue;
    }
    const std::string reference = "&#" + std::to_string(point) + ";";
    out.append(reference.begin(), reference.end());
  }
  return out;
}

}  // namespace tms::fuzz
