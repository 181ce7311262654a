// The colour picker's texts and the parser that reads stored values back.
#include "colorpicker/color_text.h"

#include <gtest/gtest.h>

namespace tms {
namespace {

// Keys, values and HTML texts of everyday colours are checked through the
// picker's files and results; these are the ones the picker cannot reach.
TEST(ColorText, FormatsExtremeIndexesAndColours) {
  char text[kColorTextSize];
  FormatColorKey(-2147483647 - 1, text);
  EXPECT_STREQ(text, "Color -2147483648");
  FormatColorValue(0xFFFFFFFF, text);
  EXPECT_STREQ(text, "0xFFFFFFFF");
  FormatColorValue(0xABCDEF, text);
  EXPECT_STREQ(text, "0x00ABCDEF");
  // The dialog's colours are 0x00BBGGRR; HTML wants red first and has no
  // room for the top byte.
  FormatHtmlColor(0xAB123456, text);
  EXPECT_STREQ(text, "#563412");
  FormatHtmlColor(0x00FF8000, text);
  EXPECT_STREQ(text, "#0080FF");
}

TEST(ColorText, ParsesNumbersAsTheProfileFunctionsDo) {
  const struct {
    const char* text;
    uint32_t expected;
  } rows[] = {
      {"0x00FF8000", 0x00FF8000},
      {"0xff8000", 0x00FF8000},
      {"0XFF", 0xFF},  // upper-case prefix read as hexadecimal too
      {"255", 255},
      {"0x", 0},
      {"0", 0},
      {"-1", 4294967295u},
      {"+1", 1},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-4294967297", 4294967295u},
      {"0x1FFFFFFFF", 0xFFFFFFFF},
      {"-0x1", 0xFFFFFFFF},
      {"42A9", 42},
      {"0x12G4", 0x12},
      {"B42", 0},
      {"  12", 12},
      {"\t\x01 7", 7},
      {"- 1", 0},
      {"+-1", 0},
      {"12 34", 12},
      {"0b101", 0},
      {"007", 7},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseProfileNumber(row.text, 99), row.expected);
  }
  EXPECT_EQ(ParseProfileNumber("", 99), 99u);
  EXPECT_EQ(ParseProfileNumber(nullptr, 99), 99u);
}

}  // namespace
}  // namespace tms
