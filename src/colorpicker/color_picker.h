// The colour picker behind tmsGetHTMLColor: the system's colour dialog with
// its sixteen custom colours kept in TolvaricMode.INI beside the host's
// executable, section "Custom Colors", keys "Color 0" to "Color 15".
#pragma once

#include "platform/color_dialog.h"
#include "platform/settings_store.h"
#include "platform/types.h"

namespace tms {

// Room for the settings file's path.
constexpr uint32_t kSettingsPathSize = 1024;

// Fills `path` (kSettingsPathSize bytes) with the path of the settings file:
// the folder of the host's executable and TolvaricMode.INI, or the bare file
// name when the executable's path cannot be had. When the path does not fit
// the buffer, `path` is left empty and the result is false: the caller then
// skips the file rather than use a cut-off path.
bool GetSettingsFilePath(platform::SettingsStore& store, char* path);

// The stored custom colour `index`; 0 when none is stored or the file
// cannot be reached.
uint32_t ReadCustomColor(platform::SettingsStore& store, int32_t index);

// Stores custom colour `index`. A file that cannot be written loses it
// silently.
void WriteCustomColor(platform::SettingsStore& store, int32_t index, uint32_t color);

// Reads the custom colours, runs the dialog with them, writes "#RRGGBB" of
// a confirmed colour (else the empty text) into `result` (8 bytes), writes
// the custom colours back whatever the user did, and returns the dialog's
// own result. A null `result` has nowhere to put the colour: the call then
// shows no dialog, reads and writes no file, and returns 0.
int32_t PickHtmlColor(platform::SettingsStore& store, platform::ColorDialog& dialog,
                      WindowHandle owner, char* result);

}  // namespace tms
