// HTML numeric character references for now-playing titles.
#include "nowplaying/html_references.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/counting_memory.h"

namespace tms {
namespace {

using testing::CountingMemory;

Bstr MakeBstr(platform::Memory& memory, const std::u16string& text) {
  return memory.AllocBstrLen(text.data(), static_cast<uint32_t>(text.size()));
}

struct EncodeCase {
  const char* name;
  std::u16string title;
  std::u16string expected;
};

TEST(HtmlReferences, EncodesEveryCharacterOutsideAsciiAndNothingElse) {
  const EncodeCase cases[] = {
      {"empty", u"", u""},
      {"ascii unchanged", u"Plain text 123", u"Plain text 123"},
      {"markup is not escaped", u"Rock & Roll <b>\"x\"</b>", u"Rock & Roll <b>\"x\"</b>"},
      {"control characters kept", u"\x01\t\x1F\x7F", u"\x01\t\x1F\x7F"},
      {"127 stays, 128 is referenced", u"\x7F\x80", u"\x7F&#128;"},
      {"latin", u"caf\xE9", u"caf&#233;"},
      {"999 and 1000", u"\x3E7\x3E8", u"&#999;&#1000;"},
      {"9999 and 10000", u"\x270F\x2710", u"&#9999;&#10000;"},
      {"euro sign", u"\x20AC" u"5", u"&#8364;5"},
      {"65535", u"\xFFFF", u"&#65535;"},
      {"inner zero ends the text", std::u16string(u"ab\0\xE9", 4), u"ab"},
      // Characters outside the Basic Multilingual Plane: one reference each.
      {"emoji", u"\xD83D\xDE00!", u"&#128512;!"},
      {"first supplementary", u"\xD800\xDC00", u"&#65536;"},
      {"99999 and 100000", u"\xD821\xDE9F\xD821\xDEA0", u"&#99999;&#100000;"},
      {"last code point", u"\xDBFF\xDFFF", u"&#1114111;"},
      {"lone high surrogate at the end", u"a\xD83D", u"a&#65533;"},
      {"lone low surrogate", u"\xDE00" u"b", u"&#65533;b"},
      {"high surrogate before a pair", u"\xD83D\xD83D\xDE00", u"&#65533;&#128512;"},
      {"pair in the wrong order", u"\xDE00\xD83D", u"&#65533;&#65533;"},
  };
  CountingMemory memory;
  for (const EncodeCase& row : cases) {
    SCOPED_TRACE(row.name);
    Bstr title = MakeBstr(memory, row.title);
    ASSERT_NE(title, nullptr);
    EncodeHtmlReferences(memory, &title);
    ASSERT_NE(title, nullptr);
    // The estimate is exact: the recorded length is the text's own.
    EXPECT_EQ(memory.BstrByteLen(title), row.expected.size() * sizeof(WideChar));
    EXPECT_EQ(std::u16string(title), row.expected);
    EXPECT_EQ(memory.live(), 1);
    memory.FreeBstr(title);
    EXPECT_EQ(memory.live(), 0);
  }
}

// Each of 40,000 characters may take the longest reference; nothing is
// written past the estimate.
TEST(HtmlReferences, LongTitleOfLongestReferences) {
  CountingMemory memory;
  std::u16string text;
  for (int i = 0; i < 20000; ++i) text += u"\xDBFF\xDFFF";
  Bstr title = MakeBstr(memory, text);
  EncodeHtmlReferences(memory, &title);
  EXPECT_EQ(memory.BstrByteLen(title), 20000u * 10 * sizeof(WideChar));
  EXPECT_EQ(std::u16string(title).substr(0, 20), u"&#1114111;&#1114111;");
  memory.FreeBstr(title);
  EXPECT_EQ(memory.live(), 0);
}

}  // namespace
}  // namespace tms
