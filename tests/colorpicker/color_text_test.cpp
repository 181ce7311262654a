// The colour picker's texts and the parser that reads stored values back.
#include "colorpicker/color_text.h"

#include <gtest/gtest.h>
#include <string.h>

namespace tms {
namespace {

constexpr char kSentinel = static_cast<char>(0xCC);

TEST(ColorText, KeysAndValuesUseTheStoredSpelling) {
  const struct {
    int32_t index;
    const char* key;
  } keys[] = {
      {0, "Color 0"}, {9, "Color 9"}, {15, "Color 15"}, {-2147483647 - 1, "Color -2147483648"}};
  for (const auto& row : keys) {
    SCOPED_TRACE(row.key);
    char key[kColorTextSize];
    FormatColorKey(row.index, key);
    EXPECT_STREQ(key, row.key);
  }
  const struct {
    uint32_t color;
    const char* value;
  } values[] = {{0, "0x00000000"},
                {0xFF, "0x000000FF"},
                {0x00FF8000, "0x00FF8000"},
                {0xFFFFFFFF, "0xFFFFFFFF"},
                {0xABCDEF, "0x00ABCDEF"}};
  for (const auto& row : values) {
    SCOPED_TRACE(row.value);
    char value[kColorTextSize];
    FormatColorValue(row.color, value);
    EXPECT_STREQ(value, row.value);
    EXPECT_EQ(ParseProfileNumber(value, 7), row.color);
  }
}

// The dialog's colours are 0x00BBGGRR; HTML wants red first.
TEST(ColorText, HtmlColorPutsRedFirstInExactlyEightBytes) {
  const struct {
    uint32_t color;
    const char* text;
  } rows[] = {
      {0x000000FF, "#FF0000"},  // pure red
      {0x00336699, "#996633"}, {0x00FF8000, "#0080FF"}, {0x00000000, "#000000"},
      {0x00FFFFFF, "#FFFFFF"}, {0xAB123456, "#563412"},  // the top byte is dropped
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    char text[12];
    memset(text, kSentinel, sizeof text);
    FormatHtmlColor(row.color, text);
    EXPECT_STREQ(text, row.text);
    for (size_t i = kHtmlColorSize; i < sizeof text; ++i) EXPECT_EQ(text[i], kSentinel) << i;
  }
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
