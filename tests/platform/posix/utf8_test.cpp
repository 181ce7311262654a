// The POSIX code page (UTF-8): measuring, counted conversion and replacement.
#include "platform/posix/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tms::platform {
namespace {

std::u16string Decode(const std::string& bytes) {
  const int32_t units = Utf8ToUtf16(bytes.data(), static_cast<int32_t>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<size_t>(units), u'\0');
  EXPECT_EQ(Utf8ToUtf16(bytes.data(), static_cast<int32_t>(bytes.size()), &out[0], units), units);
  return out;
}

std::string Encode(const std::u16string& units) {
  const int32_t bytes = Utf16ToUtf8(units.data(), static_cast<int32_t>(units.size()), nullptr, 0);
  std::string out(static_cast<size_t>(bytes), '\0');
  EXPECT_EQ(Utf16ToUtf8(units.data(), static_cast<int32_t>(units.size()), &out[0], bytes), bytes);
  return out;
}

TEST(Utf8Codepage, DecodesValidAndReplacesInvalidInput) {
  const struct {
    const char* name;
    std::string bytes;
    std::u16string units;
  } cases[] = {
      {"ascii", "abc", u"abc"},
      {"two-byte", "caf\xC3\xA9", u"caf\xE9"},
      {"three-byte", "\xE2\x82\xAC", u"\x20AC"},
      {"four-byte", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"stray continuation", "a\x80z", u"a\xFFFDz"},
      {"truncated sequence", "a\xE2\x82", u"a\xFFFD\xFFFD"},
      {"overlong", "\xC0\xAF", u"\xFFFD\xFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"inner zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      // Just outside the valid ranges: each byte that cannot start or
      // continue a character is one U+FFFD, and decoding resumes after it.
      {"lead C1 (overlong U+007F)", "\xC1\xBF", u"\xFFFD\xFFFD"},
      {"overlong U+07FF", "\xE0\x9F\xBF", u"\xFFFD\xFFFD\xFFFD"},
      {"overlong U+FFFF", "\xF0\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"encoded U+DFFF", "\xED\xBF\xBF", u"\xFFFD\xFFFD\xFFFD"},
      {"lead F5", "\xF5\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"lead then no continuation", "\xC2\x41", u"\xFFFD\x41"},
      {"lead at the end", "a\xC2", u"a\xFFFD"},
      {"four-byte sequence cut short", "\xF0\x9F\x98", u"\xFFFD\xFFFD\xFFFD"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Decode(row.bytes), row.units);
  }
}

TEST(Utf8Codepage, EncodesValidAndReplacesLoneSurrogates) {
  const struct {
    const char* name;
    std::u16string units;
    std::string bytes;
  } cases[] = {
      {"ascii", u"abc", "abc"},
      {"latin", u"\xE9", "\xC3\xA9"},
      {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
      {"lone high", u"\xD83Dx", "\xEF\xBF\xBDx"},
      {"lone low", u"\xDE00", "\xEF\xBF\xBD"},
      {"reversed pair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"lone U+D800", u"\xD800", "\xEF\xBF\xBD"},
      {"lone U+DBFF at the end", u"a\xDBFF", "a\xEF\xBF\xBD"},
      {"lone U+DC00", u"\xDC00", "\xEF\xBF\xBD"},
      {"lone U+DFFF", u"\xDFFF", "\xEF\xBF\xBD"},
      {"high then a non-surrogate", u"\xDBFF\xE000", "\xEF\xBF\xBD\xEE\x80\x80"},
      {"two highs then a low", u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Encode(row.units), row.bytes);
    // The byte count is never below the unit count, which callers rely on
    // when they size a wide buffer from a byte count.
    EXPECT_GE(row.bytes.size(), row.units.size());
  }
}

// The code points on either side of each encoding length and of the
// surrogate range, both ways.
TEST(Utf8Codepage, RoundTripsAtEveryEncodingBoundary) {
  const struct {
    const char* name;
    std::u16string units;
    std::string bytes;
  } cases[] = {
      {"U+007F", u"\x7F", "\x7F"},
      {"U+0080", u"\x80", "\xC2\x80"},
      {"U+07FF", u"\x7FF", "\xDF\xBF"},
      {"U+0800", u"\x800", "\xE0\xA0\x80"},
      {"U+D7FF", u"\xD7FF", "\xED\x9F\xBF"},
      {"U+E000", u"\xE000", "\xEE\x80\x80"},
      {"U+FFFF", u"\xFFFF", "\xEF\xBF\xBF"},
      {"U+10000", u"\xD800\xDC00", "\xF0\x90\x80\x80"},
      {"U+10FFFF", u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Decode(row.bytes), row.units);
    EXPECT_EQ(Encode(row.units), row.bytes);
  }
}

TEST(Utf8Codepage, FollowsTheConversionCallContract) {
  // A count that ends between the two halves of a pair leaves a lone high
  // surrogate.
  char cutPair[4] = {};
  EXPECT_EQ(Utf16ToUtf8(u"\xD83D\xDE00", 1, cutPair, 4), 3);
  EXPECT_EQ(std::string(cutPair, 3), "\xEF\xBF\xBD");
  // -1 includes the terminator; null or zero length converts nothing.
  EXPECT_EQ(Utf8ToUtf16("abc", -1, nullptr, 0), 4);
  EXPECT_EQ(Utf16ToUtf8(u"abc", -1, nullptr, 0), 4);
  EXPECT_EQ(Utf8ToUtf16(nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(Utf8ToUtf16("abc", 0, nullptr, 0), 0);
  EXPECT_EQ(Utf8ToUtf16("abc", -2, nullptr, 0), 0);
  EXPECT_EQ(Utf16ToUtf8(nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(Utf16ToUtf8(u"abc", 0, nullptr, 0), 0);
  // A target of exactly the measured size is enough.
  char16_t exact[3] = {};
  EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9z", 4, exact, 3), 3);
  EXPECT_EQ(std::u16string(exact, 3), u"a\xE9z");
  char exactBytes[3] = {};
  EXPECT_EQ(Utf16ToUtf8(u"\x20AC", 1, exactBytes, 3), 3);
  // A target too small fails as a whole and writes nothing.
  char16_t small[2] = {u'x', u'x'};
  EXPECT_EQ(Utf8ToUtf16("abc", 3, small, 2), 0);
  EXPECT_EQ(small[0], u'x');
  char bytes[2] = {'x', 'x'};
  EXPECT_EQ(Utf16ToUtf8(u"\x20AC", 1, bytes, 2), 0);
  EXPECT_EQ(bytes[0], 'x');
}

}  // namespace
}  // namespace tms::platform
