// The system's modal colour dialog.
#pragma once

#include "platform/types.h"

namespace tms::platform {

// The dialog's table of custom colours has this many entries.
constexpr int kCustomColorCount = 16;
// Creation flag: open with the controls for defining custom colours shown.
constexpr uint32_t kColorDialogFullOpen = 0x2;

class ColorDialog {
 public:
  // Shows the dialog owned by `owner` (null for none) with the creation
  // `flags`, and returns when it closes. Colours are 0x00BBGGRR values.
  // `customColors` holds kCustomColorCount entries, which the dialog
  // updates in place with the custom colours the user defines (even when
  // the user then cancels). `*color` holds the colour the dialog starts
  // from and receives the chosen one. Returns the dialog's own result:
  // non-zero when the user confirmed a colour, 0 when the user cancelled or
  // the dialog failed.
  virtual int32_t Choose(WindowHandle owner, uint32_t flags, uint32_t* customColors,
                         uint32_t* color) = 0;

 protected:
  ~ColorDialog() = default;
};

// The system's colour dialog; where the system has none, a stand-in that
// reports a cancel and leaves the custom colours as they were.
ColorDialog& SystemColorDialog();

}  // namespace tms::platform
