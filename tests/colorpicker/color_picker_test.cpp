// The colour picker with a scripted dialog and real settings files in a
// temporary folder that stands in for the host executable's folder.
#include "colorpicker/color_picker.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "colorpicker/color_picker_cases.h"
#include "colorpicker/color_text.h"
#include "fakes/guarded_bytes.h"
#include "fakes/redirected_settings_store.h"
#include "fakes/scripted_color_dialog.h"
#include "fakes/settings_files.h"

namespace tms {
namespace {

using testing::GuardedBytes;
using testing::kPathSeparator;
using testing::ReadFileBytes;
using testing::RedirectedSettingsStore;
using testing::ScriptedColorDialog;
using testing::TempFolder;
using testing::WriteFileBytes;

constexpr int kCount = platform::kCustomColorCount;

class ColorPickerFiles : public ::testing::Test {
 protected:
  int32_t Pick(char* result) { return PickHtmlColor(store_, dialog_, owner_, result); }
  std::string SettingsPath() const { return folder_.Join("TolvaricMode.INI"); }

  TempFolder folder_;
  RedirectedSettingsStore store_{folder_.Join("host.exe")};
  ScriptedColorDialog dialog_;
  WindowHandle owner_ = reinterpret_cast<WindowHandle>(0x1234);
};

// The shared rows. The dialog opens in full, on black, owned as the call
// asks.
TEST_F(ColorPickerFiles, SharedRows) {
  for (const testing::ColorPickerCase& row : testing::kColorPickerCases) {
    SCOPED_TRACE(row.name);
    remove(SettingsPath().c_str());
    if (row.stored != nullptr) WriteFileBytes(SettingsPath(), row.stored);
    ScriptedColorDialog dialog;
    if (row.addToCustomColors) dialog.DefineCustomColor(0, row.picked);
    if (row.confirm) dialog.Confirm(row.picked);
    if (!row.confirm) dialog.Cancel();
    const WindowHandle owner = row.owned ? owner_ : nullptr;
    GuardedBytes result(kHtmlColorSize);
    EXPECT_EQ(PickHtmlColor(store_, dialog, owner, result.get()), row.confirm ? 1 : 0);
    EXPECT_TRUE(result.Holds(row.text)) << result.Text();
    ASSERT_EQ(dialog.runs(), 1);
    EXPECT_EQ(dialog.owner(), owner);
    EXPECT_EQ(dialog.flags(), platform::kColorDialogFullOpen);
    EXPECT_EQ(dialog.startColor(), 0u);
    EXPECT_EQ(ReadFileBytes(SettingsPath()), testing::FileAfter(row));
    for (int i = 0; i < kCount; ++i) {
      EXPECT_EQ(dialog.shownCustomColor(i), row.shown == nullptr ? 0 : row.shown[i]) << i;
    }
  }
}

TEST_F(ColorPickerFiles, AnyNonZeroDialogResultIsPassedOn) {
  dialog_.Confirm(0x00FFFFFF, 7);
  char result[8];
  EXPECT_EQ(Pick(result), 7);
  EXPECT_STREQ(result, "#FFFFFF");
}

// A folder of `length` bytes, its separator included.
std::string FolderOfLength(size_t length) {
  return kPathSeparator + std::string(length - 2, 'd') + kPathSeparator;
}

// Whether the current user can still write `path` (an administrator
// ignores permissions).
bool StillWritable(const std::string& path) {
  FILE* file = fopen(path.c_str(), "ab");
  if (file != nullptr) fclose(file);
  return file != nullptr;
}

// Where the settings cannot be written, they are lost without a word; the
// dialog's answer is unaffected. A path too long for its buffer is not cut
// off: the file is skipped, with black custom colours shown.
TEST(ColorPicker, UnwritableSettingsLoseTheColoursSilently) {
  enum Obstacle { kPathTooLong, kFolderAsFile, kFileAsFolder, kReadOnlyFile, kReadOnlyFolder };
  const char* const names[] = {"settings path too long", "a folder in the file's place",
                               "the host's folder is a plain file", "read-only file",
                               "read-only folder"};
  const std::string stored = "[Custom Colors]\r\nColor 1=0x00000042\r\n";
  for (const Obstacle obstacle :
       {kPathTooLong, kFolderAsFile, kFileAsFolder, kReadOnlyFile, kReadOnlyFolder}) {
    SCOPED_TRACE(names[obstacle]);
    TempFolder folder;
    const std::string settings = folder.Join("TolvaricMode.INI");
    std::string executable = folder.Join("host.exe");
    std::string unchanged;  // a file that must keep `stored`
    if (obstacle == kPathTooLong) executable = FolderOfLength(kSettingsPathSize - 10) + "host.exe";
    if (obstacle == kFolderAsFile) testing::MakeFolder(settings);
    if (obstacle == kFileAsFolder) {
      unchanged = folder.Join("plain");
      executable = unchanged + kPathSeparator + "host.exe";
    }
    if (obstacle == kReadOnlyFile) unchanged = settings;
    if (!unchanged.empty()) WriteFileBytes(unchanged, stored);
    if (obstacle == kReadOnlyFile || obstacle == kReadOnlyFolder) {
      testing::SetReadOnly(obstacle == kReadOnlyFile ? settings : folder.path(), true);
      if (StillWritable(obstacle == kReadOnlyFile ? settings : folder.Join("probe"))) {
        printf("not tested: %s (permissions are not enforced for this user)\n", names[obstacle]);
        continue;
      }
    }
    RedirectedSettingsStore store(executable);
    ScriptedColorDialog dialog;
    dialog.DefineCustomColor(1, 0x00000099);
    dialog.Confirm(0x00336699);
    char result[8];
    EXPECT_EQ(PickHtmlColor(store, dialog, nullptr, result), 1);
    EXPECT_STREQ(result, "#996633");
    const bool skipped = obstacle == kPathTooLong;
    EXPECT_EQ(store.reads(), skipped ? 0 : kCount);
    EXPECT_EQ(store.writes(), skipped ? 0 : kCount);
    EXPECT_EQ(dialog.shownCustomColor(1), obstacle == kReadOnlyFile ? 0x42u : 0u);
    if (!unchanged.empty()) {
      EXPECT_EQ(ReadFileBytes(unchanged), stored);
    }
    // Nothing was created where there was nothing.
    EXPECT_EQ(testing::FileExists(settings),
              obstacle == kFolderAsFile || obstacle == kReadOnlyFile);
  }
}

TEST(ColorPicker, SettingsPathFitsItsBufferOrIsNotUsed) {
  const std::string deepest = FolderOfLength(kSettingsPathSize - 1 - 16);
  const struct {
    const char* name;
    std::string executable;
    bool fits;
    std::string expected;
  } rows[] = {
      {"beside the executable", FolderOfLength(10) + "host.exe", true,
       FolderOfLength(10) + "TolvaricMode.INI"},
      {"no executable path", "", true, "TolvaricMode.INI"},
      {"executable without folder", "host.exe", true, "TolvaricMode.INI"},
      {"exactly 1023 bytes", deepest + "h.exe", true, deepest + "TolvaricMode.INI"},
      {"one byte too long", FolderOfLength(kSettingsPathSize - 16) + "h.exe", false, ""},
      {"executable path fills the buffer", FolderOfLength(1000) + std::string(24, 'h'), false, ""},
      {"executable path far too long", FolderOfLength(5000) + "h.exe", false, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    RedirectedSettingsStore store(row.executable);
    GuardedBytes path(kSettingsPathSize);
    EXPECT_EQ(GetSettingsFilePath(store, path.get()), row.fits);
    EXPECT_EQ(path.Text(), row.expected);
    EXPECT_TRUE(path.Untouched(kSettingsPathSize));
  }
}

TEST_F(ColorPickerFiles, NullResultShowsNoDialogAndTouchesNoFile) {
  dialog_.Confirm(0x000000FF);
  EXPECT_EQ(Pick(nullptr), 0);
  EXPECT_EQ(dialog_.runs(), 0);
  EXPECT_EQ(store_.reads() + store_.writes(), 0);
  EXPECT_FALSE(testing::FileExists(SettingsPath()));
}

}  // namespace
}  // namespace tms
