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

enum Direction { kDecodes, kEncodes, kBothWays };

struct CodecRow {
  const char* name;
  Direction direction;
  std::string bytes;
  std::u16string units;
};

// Decoding replaces each byte that cannot start or continue a sequence, and
// resumes after each U+FFFD; encoding replaces lone surrogates. Valid text
// of each encoding length, and the code points on either side of each
// length and of the surrogate range, go both ways. The byte count is never
// below the unit count, which callers rely on when they size a wide buffer
// from a byte count.
TEST(Utf8Codepage, ConvertsAndReplacesAtEveryEncodingBoundary) {
  const CodecRow cases[] = {
      {"stray continuation", kDecodes, "a\x80z", u"a\xFFFDz"},
      {"truncated sequence", kDecodes, "a\xE2\x82", u"a\xFFFD\xFFFD"},
      {"overlong", kDecodes, "\xC0\xAF", u"\xFFFD\xFFFD"},
      {"encoded surrogate", kDecodes, "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
      {"beyond U+10FFFF", kDecodes, "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"lead C1 (overlong U+007F)", kDecodes, "\xC1\xBF", u"\xFFFD\xFFFD"},
      {"overlong U+07FF", kDecodes, "\xE0\x9F\xBF", u"\xFFFD\xFFFD\xFFFD"},
      {"overlong U+FFFF", kDecodes, "\xF0\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"encoded U+DFFF", kDecodes, "\xED\xBF\xBF", u"\xFFFD\xFFFD\xFFFD"},
      {"lead F5", kDecodes, "\xF5\x80\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"lead then no continuation", kDecodes, "\xC2\x41", u"\xFFFD\x41"},
      {"lead at the end", kDecodes, "a\xC2", u"a\xFFFD"},
      {"four-byte sequence cut short", kDecodes, "\xF0\x9F\x98", u"\xFFFD\xFFFD\xFFFD"},
      {"lone high", kEncodes, "\xEF\xBF\xBDx", u"\xD83Dx"},
      {"lone low", kEncodes, "\xEF\xBF\xBD", u"\xDE00"},
      {"reversed pair", kEncodes, "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDE00\xD83D"},
      {"lone U+D800", kEncodes, "\xEF\xBF\xBD", u"\xD800"},
      {"lone U+DBFF at the end", kEncodes, "a\xEF\xBF\xBD", u"a\xDBFF"},
      {"lone U+DC00", kEncodes, "\xEF\xBF\xBD", u"\xDC00"},
      {"lone U+DFFF", kEncodes, "\xEF\xBF\xBD", u"\xDFFF"},
      {"high then a non-surrogate", kEncodes, "\xEF\xBF\xBD\xEE\x80\x80", u"\xDBFF\xE000"},
      {"two highs then a low", kEncodes, "\xEF\xBF\xBD\xF0\x90\x80\x80", u"\xD800\xD800\xDC00"},
      {"ascii", kBothWays, "abc", u"abc"},
      {"two-byte", kBothWays, "caf\xC3\xA9", u"caf\xE9"},
      {"three-byte", kBothWays, "\xE2\x82\xAC", u"\x20AC"},
      {"four-byte", kBothWays, "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"inner zero", kBothWays, std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"U+007F", kBothWays, "\x7F", u"\x7F"},
      {"U+0080", kBothWays, "\xC2\x80", u"\x80"},
      {"U+07FF", kBothWays, "\xDF\xBF", u"\x7FF"},
      {"U+0800", kBothWays, "\xE0\xA0\x80", u"\x800"},
      {"U+D7FF", kBothWays, "\xED\x9F\xBF", u"\xD7FF"},
      {"U+E000", kBothWays, "\xEE\x80\x80", u"\xE000"},
      {"U+FFFF", kBothWays, "\xEF\xBF\xBF", u"\xFFFF"},
      {"U+10000", kBothWays, "\xF0\x90\x80\x80", u"\xD800\xDC00"},
      {"U+10FFFF", kBothWays, "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    if (row.direction != kEncodes) {
      EXPECT_EQ(Decode(row.bytes), row.units);
    }
    if (row.direction != kDecodes) {
      EXPECT_EQ(Encode(row.units), row.bytes);
      EXPECT_GE(row.bytes.size(), row.units.size());
    }
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
