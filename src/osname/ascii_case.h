// Case-blind comparison of ASCII texts, for the system's key texts
// ("Service Pack 6", "LANMANNT"); other bytes must match exactly.
#pragma once

namespace tms {

inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `text` begins with all of `prefix`.
inline bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != 0; ++text, ++prefix) {
    if (*text == 0 || AsciiLower(*text) != AsciiLower(*prefix)) return false;
  }
  return true;
}

inline bool EqualsIgnoringCase(const char* text, const char* other) {
  return StartsWithIgnoringCase(text, other) && StartsWithIgnoringCase(other, text);
}

}  // namespace tms
