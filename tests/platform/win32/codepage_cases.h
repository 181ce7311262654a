// Texts and their bytes in each ANSI code page the Windows test runs use,
// shared by the DualString tests over the real code page and the DLL's
// tmsCopyString tests. A run checks the rows of its active code page.
#pragma once

#include <stdint.h>

namespace tms::testing {

struct CodepageCase {
  uint32_t codepage;
  const char* name;
  const char16_t* wide;
  const char* bytes;
};

inline constexpr CodepageCase kCodepageCases[] = {
    {1252, "latin", u"caf\xE9", "caf\xE9"},
    {1252, "euro sign", u"\x20AC 5", "\x80 5"},
    {1252, "four high bytes", u"\x201C\xFA\x2013{", "\x93\xFA\x96\x7B"},
    {1252, "empty", u"", ""},
    {1251, "cyrillic", u"\x041F\x0440\x0438\x0432\x0435\x0442", "\xCF\xF0\xE8\xE2\xE5\xF2"},
    {1251, "empty", u"", ""},
    // Double-byte: two units are four bytes, four bytes two units.
    {932, "kanji", u"\x65E5\x672C", "\x93\xFA\x96\x7B"},
    {932, "half-width katakana: one byte", u"a\xFF71z", "a\xB1z"},
    {932, "empty", u"", ""},
};

}  // namespace tms::testing
