// The texts of the colour picker: settings keys and values, the number
// parser that reads the values back, and the HTML colour text.
#pragma once

#include "platform/types.h"

namespace tms {

// Room for a key or value text (both are far shorter).
constexpr uint32_t kColorTextSize = 100;
// Room for the HTML colour text: '#', six digits, terminator.
constexpr uint32_t kHtmlColorSize = 8;

// "Color 3": the settings key of custom colour `index`.
void FormatColorKey(int32_t index, char* key);

// "0x00FF8000": the colour as stored, 0x and eight uppercase hexadecimal
// digits of the 0x00BBGGRR value, so that pure red reads 0x000000FF.
void FormatColorValue(uint32_t color, char* value);

// "#RRGGBB" of a 0x00BBGGRR colour: red first, the top byte ignored.
// Writes exactly kHtmlColorSize bytes.
void FormatHtmlColor(uint32_t color, char* text);

// Reads a stored number as the Windows profile functions read integers:
// blanks and control characters skipped, one '+' or '-', then "0x" (or
// "0X") and hexadecimal digits or else decimal digits, up to the first byte
// that is not a digit, modulo 2^32 ("-1" gives 0xFFFFFFFF, "42A9" gives 42,
// "B42" and "0x" give 0). A null or empty text gives `fallback`.
uint32_t ParseProfileNumber(const char* text, uint32_t fallback);

}  // namespace tms
