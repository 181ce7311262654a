// The common colour dialog, run on the caller's thread.
#include <windows.h>
// After windows.h, whose types it needs.
#include <commdlg.h>

#include "platform/color_dialog.h"

namespace tms::platform {
namespace {

// Hosts and the dialog agree on the 32-bit record layout.
static_assert(sizeof(void*) != 4 || sizeof(CHOOSECOLORA) == 36, "CHOOSECOLORA is 36 bytes");
static_assert(sizeof(COLORREF) == sizeof(uint32_t), "COLORREF is 32 bits");

class Win32ColorDialog final : public ColorDialog {
 public:
  constexpr Win32ColorDialog() = default;

  int32_t Choose(WindowHandle owner, uint32_t flags, uint32_t* customColors,
                 uint32_t* color) override {
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
    const BOOL confirmed = ChooseColorA(&record);
    if (confirmed != FALSE) *color = record.rgbResult;
    return confirmed;
  }
};

Win32ColorDialog systemColorDialog;

}  // namespace

ColorDialog& SystemColorDialog() {
  return systemColorDialog;
}

}  // namespace tms::platform
