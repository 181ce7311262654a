// Case-blind comparison that folds ASCII letters only, for fixed key texts
// ("Service Pack 6", "LANMANNT", " - Winamp", INI names); every other unit
// must match exactly, so the result is the same in every locale.
#pragma once

namespace tms {

// The unit with A-Z turned into a-z; works for char and char16_t alike.
template <typename Unit>
inline Unit AsciiLower(Unit c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Unit>(c - 'A' + 'a') : c;
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
