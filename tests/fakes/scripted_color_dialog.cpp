// The scripted colour dialog.
#include "fakes/scripted_color_dialog.h"

namespace tms::testing {

int32_t ScriptedColorDialog::Choose(WindowHandle owner, uint32_t flags, uint32_t* customColors,
                                    uint32_t* color) {
  ++runs_;
  owner_ = owner;
  flags_ = flags;
  startColor_ = *color;
  for (int i = 0; i < platform::kCustomColorCount; ++i) {
    shown_[i] = customColors[i];
    if (isDefined_[i]) customColors[i] = defined_[i];
  }
  if (result_ != 0) *color = color_;
  return result_;
}

}  // namespace tms::testing
