// What a user does in the colour dialog and what the call leaves behind.
// The unit tests play the rows with a scripted dialog, the DLL tests with
// the real dialog worked from a second thread.
#pragma once

#include <stdint.h>

#include <string>

#include "fakes/settings_files.h"

namespace tms::testing {

struct ColorPickerCase {
  const char* name;
  bool owned;              // the call passes an owner window
  const char* stored;      // the settings file before the call; null: none
  uint32_t picked;         // the colour the user makes current, 0x00BBGGRR
  bool addToCustomColors;  // the user adds it as custom colour 0
  bool confirm;            // OK, else Cancel
  const char* text;        // the result text
  // The settings file after the call: `fileHead`, which rewrites the keys
  // of `headSlots` in place, then the other custom colours in order, then
  // `fileTail`.
  const char* fileHead;
  uint16_t headSlots;
  const char* fileTail = "";
  // The 16 custom colours the dialog is shown (checked with the scripted
  // dialog only); null: all black.
  const uint32_t* shown = nullptr;
};

// Settings with a section before the colours' and one more of their name
// after them, a comment, a key twice and names in other letter cases: only
// the first section and the first key of a name count, and every other line
// stays. Stored colours come back in the stored spelling.
inline constexpr char kStoredFile[] =
    "; host settings\r\n[General]\r\nColor 3=0x000000AA\r\n[custom colors]\r\n; a comment\r\n"
    "Color 3=0x00FF8000\r\nColor 3=0x00000011\r\nCOLOR 4 = 255\r\n"
    "[Custom Colors]\r\nColor 5=0x00ABCDEF\r\n";
inline constexpr char kStoredFileHeadAfter[] =
    "; host settings\r\n[General]\r\nColor 3=0x000000AA\r\n[custom colors]\r\n; a comment\r\n"
    "Color 3=0x00FF8000\r\nColor 3=0x00000011\r\nCOLOR 4=0x000000FF\r\n";
inline constexpr uint32_t kStoredShown[16] = {0, 0, 0, 0x00FF8000, 255};

inline const ColorPickerCase kColorPickerCases[] = {
    {"no file, pure red confirmed", false, nullptr, 0x000000FF, false, true, "#FF0000",
     "[Custom Colors]\r\n", 0},
    {"added to the custom colours, confirmed", true, nullptr, 0x00336699, true, true, "#996633",
     "[Custom Colors]\r\n", 0},
    {"stored colours, an added colour kept on cancel", false, kStoredFile, 0x00996633, true, false,
     "", kStoredFileHeadAfter, 1 << 3 | 1 << 4, "[Custom Colors]\r\nColor 5=0x00ABCDEF\r\n",
     kStoredShown},
};

inline std::string FileAfter(const ColorPickerCase& row) {
  std::string file = row.fileHead;
  for (int i = 0; i < 16; ++i) {
    if ((row.headSlots >> i & 1) == 0) {
      file += ColorLines({i}, i == 0 && row.addToCustomColors ? row.picked : 0);
    }
  }
  return file + row.fileTail;
}

}  // namespace tms::testing
