// Rows for tmsGetStringLength and tmsCopyString, shared by the unit tests of
// the string services and the stress tests of the real exports (the copied
// texts are ASCII, the same in every code page), and the one way a copy row
// is checked.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include "fakes/guarded_bytes.h"

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

// Runs `copy(source, destination)` into a guarded destination of the
// expected text's size: true when the text and its terminator were written
// and nothing after them (for a null expectation, nothing at all).
template <typename Copy>
bool CopiesAsExpected(const CopyCase& row, Copy copy) {
  GuardedBytes destination(row.expected == nullptr ? 0 : strlen(row.expected) + 1);
  copy(row.source, row.nullDestination ? nullptr : destination.get());
  return row.expected == nullptr ? destination.Untouched() : destination.Holds(row.expected);
}

template <typename Copy>
void ExpectCopyRow(const CopyCase& row, Copy copy) {
  SCOPED_TRACE(row.name);
  EXPECT_TRUE(CopiesAsExpected(row, copy));
}

}  // namespace tms::testing
