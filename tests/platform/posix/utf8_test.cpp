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
      {"U+FFFF", u"\xFFFF", "\xEF\xBF\xBF"},
      {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
      {"lone high", u"\xD83Dx", "\xEF\xBF\xBDx"},
      {"lone low", u"\xDE00", "\xEF\xBF\xBD"},
      {"reversed pair", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Encode(row.units), row.bytes);
    // The byte count is never below the unit count, which callers rely on
    // when they size a wide buffer from a byte count.
    EXPECT_GE(row.bytes.size(), row.units.size());
  }
}

TEST(Utf8Codepage, FollowsTheConversionCallContract) {
  // -1 includes the terminator; null or zero length converts nothing.
  EXPECT_EQ(Utf8ToUtf16("abc", -1, nullptr, 0), 4);
  EXPECT_EQ(Utf16ToUtf8(u"abc", -1, nullptr, 0), 4);
  EXPECT_EQ(Utf8ToUtf16(nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(Utf8ToUtf16("abc", 0, nullptr, 0), 0);
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
