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
  // of `headSlots` in place, then the other custom colours in order.
  const char* fileHead;
  uint16_t headSlots;
};

inline const ColorPickerCase kColorPickerCases[] = {
    {"no file, pure red confirmed", false, nullptr, 0x000000FF, false, true, "#FF0000",
     "[Custom Colors]\r\n", 0},
    {"added to the custom colours, confirmed", true, nullptr, 0x00336699, true, true, "#996633",
     "[Custom Colors]\r\n", 0},
    // Stored colours go through the dialog and come back in the stored
    // spelling; other sections stay.
    {"stored colours, an added colour kept on cancel", false,
     "[Other]\r\nName=kept\r\n[Custom Colors]\r\nColor 3=0x00FF8000\r\nColor 4=255\r\n",
     0x00996633, true, false, "",
     "[Other]\r\nName=kept\r\n[Custom Colors]\r\nColor 3=0x00FF8000\r\nColor 4=0x000000FF\r\n",
     1 << 3 | 1 << 4},
};

inline std::string FileAfter(const ColorPickerCase& row) {
  std::string file = row.fileHead;
  for (int i = 0; i < 16; ++i) {
    if ((row.headSlots >> i & 1) == 0) {
      file += ColorLines({i}, i == 0 && row.addToCustomColors ? row.picked : 0);
    }
  }
  return file;
}

}  // namespace tms::testing
