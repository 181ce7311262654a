// The colour picker behind tmsGetHTMLColor.
#include "colorpicker/color_picker.h"

#include "colorpicker/color_text.h"
#include "platform/text.h"

namespace tms {
namespace {

constexpr char kSettingsFileName[] = "TolvaricMode.INI";
constexpr char kSettingsSection[] = "Custom Colors";

}  // namespace

bool GetSettingsFilePath(platform::SettingsStore& store, char* path) {
  for (uint32_t i = 0; i < kSettingsPathSize; ++i) path[i] = 0;
  const uint32_t length = store.ExecutablePath(path, kSettingsPathSize);
  if (length >= kSettingsPathSize) {
    path[0] = 0;
    return false;
  }
  if (length == 0) {
    // No executable path: the bare file name remains.
    path[0] = 0;
  } else {
    // Keep the folder with its trailing separator.
    const char* fileName = store.FindFileName(path);
    if (fileName >= path && fileName <= path + length) path[fileName - path] = 0;
  }
  // Room for a separator and its terminator, then for the file name.
  if (static_cast<uint32_t>(TextLength(path)) + 2 > kSettingsPathSize) {
    path[0] = 0;
    return false;
  }
  store.AddSeparator(path);
  const uint32_t folderLength = static_cast<uint32_t>(TextLength(path));
  if (folderLength + sizeof kSettingsFileName > kSettingsPathSize) {
    path[0] = 0;
    return false;
  }
  CopyUnits(path + folderLength, kSettingsFileName, sizeof kSettingsFileName);
  return true;
}

uint32_t ReadCustomColor(platform::SettingsStore& store, int32_t index) {
  char path[kSettingsPathSize];
  if (!GetSettingsFilePath(store, path)) return 0;
  char key[kColorTextSize];
  FormatColorKey(index, key);
  char value[kColorTextSize] = {};
  store.ReadProfileString(path, kSettingsSection, key, value, kColorTextSize);
  return ParseProfileNumber(value, 0);
}

void WriteCustomColor(platform::SettingsStore& store, int32_t index, uint32_t color) {
  char path[kSettingsPathSize];
  if (!GetSettingsFilePath(store, path)) return;
  char key[kColorTextSize];
  FormatColorKey(index, key);
  char value[kColorTextSize];
  FormatColorValue(color, value);
  store.WriteProfileString(path, kSettingsSection, key, value);
}

int32_t PickHtmlColor(platform::SettingsStore& store, platform::ColorDialog& dialog,
                      WindowHandle owner, char* result) {
  if (result == nullptr) return 0;
  uint32_t customColors[platform::kCustomColorCount];
  for (int32_t i = 0; i < platform::kCustomColorCount; ++i) {
    customColors[i] = ReadCustomColor(store, i);
  }
  uint32_t chosen = 0;
  const int32_t outcome =
      dialog.Choose(owner, platform::kColorDialogFullOpen, customColors, &chosen);
  if (outcome != 0) {
    FormatHtmlColor(chosen, result);
  } else {
    result[0] = 0;
  }
  // Custom colours defined in a cancelled dialog are kept as well.
  for (int32_t i = 0; i < platform::kCustomColorCount; ++i) {
    WriteCustomColor(store, i, customColors[i]);
  }
  return outcome;
}

}  // namespace tms
