// The common colour dialog, run on the caller's thread. Its library is
// loaded for each call and released before the call returns, so that hosts
// that never pick a colour never load the common dialogs and what they pull
// in.
#include <windows.h>
// After windows.h, whose types it needs.
#include <commdlg.h>

#include "platform/color_dialog.h"
#include "platform/text.h"
#include "platform/win32/unique_handle.h"

namespace tms::platform {
namespace {

// Hosts and the dialog agree on the 32-bit record layout.
static_assert(sizeof(void*) != 4 || sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA is 36 bytes");
static_assert(sizeof(COLORREF) == sizeof(uint32_t), "COLORREF is 32 bits");

using ChooseColorFunction = BOOL(WINAPI*)(CHOOSECOLORA*);

constexpr char kDialogLibrary[] = "\\comdlg32.dll";

// The full path of the common-dialog library in the system folder, so that
// a file of that name in the host's folder or the current folder is never
// loaded in its place. False when the path does not fit `path`, which a
// test cannot produce: Wine's system folder is a short fixed path.
bool DialogLibraryPath(char (&path)[MAX_PATH]) {
  const UINT folderLength = GetSystemDirectoryA(path, MAX_PATH);
  if (folderLength == 0 || folderLength + sizeof kDialogLibrary > MAX_PATH) return false;
  CopyUnits(path + folderLength, kDialogLibrary, sizeof kDialogLibrary);
  return true;
}

class Win32ColorDialog final : public ColorDialog {
 public:
  constexpr Win32ColorDialog() = default;

  // Where the library or its ChooseColorA cannot be had, the call ends as a
  // dialog that failed: 0, with the colours untouched.
  int32_t Choose(WindowHandle owner, uint32_t flags, uint32_t* customColors,
                 uint32_t* color) override {
    char path[MAX_PATH];
    if (!DialogLibraryPath(path)) return 0;
    const UniqueHmodule library(LoadLibraryA(path));
    if (!library) return 0;
    const auto chooseColor = reinterpret_cast<ChooseColorFunction>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "ChooseColorA")));
    if (chooseColor == nullptr) return 0;  // a damaged system only; Wine's library has it

    CHOOSECOLORA record;
    record.lStructSize = sizeof record;
    record.hwndOwner = static_cast<HWND>(owner);
    record.hInstance = nullptr;
    record.rgbResult = *color;
    record.lpCustColors = reinterpret_cast<COLORREF*>(customColors);
    record.Flags = flags;
    record.lCustData = 0;
    record.lpfnHook = nullptr;
    record.lpTemplateName = nullptr;
    const BOOL confirmed = chooseColor(&record);
    if (confirmed != FALSE) *color = record.rgbResult;
    return confirmed;
  }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32ColorDialog systemColorDialog;

}  // namespace

ColorDialog& SystemColorDialog() {
  return const_cast<Win32ColorDialog&>(systemColorDialog);
}

}  // namespace tms::platform
