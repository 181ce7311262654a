// Rows for tmsGetStringLength and tmsCopyString, shared by the unit tests of
// the string services and the tests of the real exports (in every code page:
// the copied texts are ASCII).
#pragma once

#include <stdint.h>

namespace tms::testing {

struct MeasureCase {
  const char* name;
  const char16_t* text;
  int32_t expected;
};

inline constexpr MeasureCase kMeasureCases[] = {
    {"null", nullptr, 0},
    {"empty", u"", 0},
    {"inner zero ends the text", u"abc\0def", 3},
    {"a surrogate pair is two units", u"\xD83D\xDE00", 2},
};

struct CopyCase {
  const char* name;
  const char16_t* source;
  bool nullDestination;
  const char* expected;  // null: the destination stays untouched
};

inline constexpr CopyCase kCopyCases[] = {
    {"plain", u"abc", false, "abc"},
    {"empty", u"", false, ""},
    {"inner zero ends the text", u"ab\0cd", false, "ab"},
    {"null source", nullptr, false, nullptr},
    {"null destination", u"abc", true, nullptr},
};

}  // namespace tms::testing
