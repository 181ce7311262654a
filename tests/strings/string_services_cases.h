// Rows for tmsGetStringLength and tmsCopyString, shared by the unit tests of
// the string services and the tests of the real exports (in every code page:
// the copied texts are ASCII), and the one way a copy row is checked.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

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

// Runs `copy(source, destination)` into a buffer filled with a sentinel:
// the expected text and its terminator are written, and nothing after them.
template <typename Copy>
void ExpectCopyRow(const CopyCase& row, Copy copy) {
  SCOPED_TRACE(row.name);
  constexpr char kSentinel = static_cast<char>(0xCC);
  char buffer[16];
  memset(buffer, kSentinel, sizeof buffer);
  copy(row.source, row.nullDestination ? nullptr : buffer);
  const size_t untouchedFrom = row.expected == nullptr ? 0 : strlen(row.expected) + 1;
  if (row.expected != nullptr) {
    EXPECT_STREQ(buffer, row.expected);
  }
  for (size_t i = untouchedFrom; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], kSentinel) << i;
}

}  // namespace tms::testing
