// tmsGetHTMLColor with the real colour dialog, worked from a second thread
// as a user would, and the settings file beside this test program.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "colorpicker/color_picker_cases.h"
#include "dll/dll_harness.h"
#include "fakes/guarded_bytes.h"
#include "fakes/settings_files.h"

namespace tms::dlltest {
namespace {

using testing::GuardedBytes;
using testing::ReadFileBytes;

// The colour dialog's controls.
constexpr int kRedEdit = 706;
constexpr int kGreenEdit = 707;
constexpr int kBlueEdit = 708;
constexpr int kAddToCustomColors = 712;

// What the user does in the dialog, and what the driver saw.
struct DialogScript {
  const testing::ColorPickerCase* row = nullptr;  // null: the user cancels at once
  DWORD patienceMs = 10000;

  bool shown = false;
  HWND owner = nullptr;
  bool dialogLibraryLoaded = false;  // comdlg32 in the process while shown
};

bool DialogLibraryLoaded() {
  return GetModuleHandleA("comdlg32.dll") != nullptr;
}

HWND FindVisibleDialogOfThisProcess() {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        GetDlgItem(window, kRedEdit) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

void Command(HWND dialog, int control, WORD notification) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, notification),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

DWORD WINAPI DriveDialog(LPVOID parameter) {
  auto* script = static_cast<DialogScript*>(parameter);
  HWND dialog = nullptr;
  for (DWORD waited = 0; dialog == nullptr && waited < script->patienceMs; waited += 10) {
    Sleep(10);
    dialog = FindVisibleDialogOfThisProcess();
  }
  if (dialog == nullptr) return 0;
  script->shown = true;
  script->owner = GetWindow(dialog, GW_OWNER);
  script->dialogLibraryLoaded = DialogLibraryLoaded();
  const testing::ColorPickerCase* row = script->row;
  if (row != nullptr) {
    SetDlgItemInt(dialog, kRedEdit, row->picked & 0xFF, FALSE);
    SetDlgItemInt(dialog, kGreenEdit, row->picked >> 8 & 0xFF, FALSE);
    SetDlgItemInt(dialog, kBlueEdit, row->picked >> 16 & 0xFF, FALSE);
    Command(dialog, kRedEdit, EN_UPDATE);
    if (row->addToCustomColors) Command(dialog, kAddToCustomColors, BN_CLICKED);
  }
  PostMessageA(dialog, WM_COMMAND, row != nullptr && row->confirm ? IDOK : IDCANCEL, 0);
  return 0;
}

// Calls tmsGetHTMLColor while a second thread plays the script.
StackCall PickColor(DialogScript& script, HWND owner, char* result) {
  HANDLE driver = CreateThread(nullptr, 0, DriveDialog, &script, 0, nullptr);
  EXPECT_NE(driver, nullptr);
  const StackCall call = CallExport("tmsGetHTMLColor", {Arg(owner), Arg(result)});
  if (driver != nullptr) {
    EXPECT_EQ(WaitForSingleObject(driver, 20000), WAIT_OBJECT_0);
    CloseHandle(driver);
  }
  return call;
}

// The settings file beside this program, removed before and after each test.
class DllColorPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *strrchr(path, '\\') = 0;
    settingsPath_ = std::string(path) + "\\TolvaricMode.INI";
    DeleteFileA(settingsPath_.c_str());
  }
  void TearDown() override { DeleteFileA(settingsPath_.c_str()); }

  std::string settingsPath_;
};

// The rows of the unit tests, typed into the real dialog. The common
// dialogs are in the process only while the call runs (that loading the
// library brings no comdlg32 in is checked in every load and unload cycle).
TEST_F(DllColorPicker, SharedRows) {
  HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  for (const testing::ColorPickerCase& row : testing::kColorPickerCases) {
    SCOPED_TRACE(row.name);
    DeleteFileA(settingsPath_.c_str());
    if (row.stored != nullptr) testing::WriteFileBytes(settingsPath_, row.stored);
    DialogScript script;
    script.row = &row;
    const HWND owner = row.owned ? window : nullptr;
    GuardedBytes result(8);
    const StackCall call = PickColor(script, owner, result.get());
    EXPECT_TRUE(script.shown);
    EXPECT_EQ(script.owner, owner);
    EXPECT_TRUE(script.dialogLibraryLoaded);
    EXPECT_FALSE(DialogLibraryLoaded()) << "comdlg32 still loaded after the call";
    EXPECT_EQ(call.result != 0, row.confirm);
    EXPECT_TRUE(result.Holds(row.text)) << result.Text();
    EXPECT_EQ(ReadFileBytes(settingsPath_), testing::FileAfter(row));
  }
  DestroyWindow(window);
}

// Where the common dialogs cannot be loaded, the call ends as a failed
// dialog: 0, the empty text, and the stored colours written back as they
// were. Runs in the copy of this program for which Wine disables comdlg32
// (TMS_EXPECT_NO_DIALOG_LIBRARY=1).
TEST_F(DllColorPicker, MissingDialogLibraryActsAsFailedDialog) {
  char expectMissing[4] = {};
  if (GetEnvironmentVariableA("TMS_EXPECT_NO_DIALOG_LIBRARY", expectMissing,
                              sizeof expectMissing) == 0) {
    GTEST_SKIP() << "runs where comdlg32 is disabled";
  }
  HMODULE dialogs = LoadLibraryA("comdlg32.dll");
  if (dialogs != nullptr) FreeLibrary(dialogs);
  ASSERT_EQ(dialogs, nullptr) << "comdlg32 is not disabled for this program";

  // The shared row with stored colours, without the user.
  testing::ColorPickerCase failed = testing::kColorPickerCases[2];
  failed.addToCustomColors = false;
  testing::WriteFileBytes(settingsPath_, failed.stored);
  DialogScript script;
  script.patienceMs = 500;
  GuardedBytes result(8);
  const StackCall call = PickColor(script, nullptr, result.get());
  EXPECT_FALSE(script.shown);
  EXPECT_EQ(call.result, 0u);
  EXPECT_TRUE(result.Holds("")) << result.Text();
  EXPECT_EQ(ReadFileBytes(settingsPath_), testing::FileAfter(failed));
}

}  // namespace
}  // namespace tms::dlltest
