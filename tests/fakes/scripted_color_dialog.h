// A colour dialog that records what it was shown and then does what the
// test scripted for the user: define custom colours, then confirm a colour
// or cancel.
#pragma once

#include "platform/color_dialog.h"

namespace tms::testing {

class ScriptedColorDialog final : public platform::ColorDialog {
 public:
  // The user confirms `color`; the dialog returns `result`.
  void Confirm(uint32_t color, int32_t result = 1) {
    color_ = color;
    result_ = result;
  }
  void Cancel() { result_ = 0; }
  // The user puts `color` into custom colour `index`.
  void DefineCustomColor(int index, uint32_t color) {
    defined_[index] = color;
    isDefined_[index] = true;
  }

  int runs() const { return runs_; }
  WindowHandle owner() const { return owner_; }
  uint32_t flags() const { return flags_; }
  uint32_t startColor() const { return startColor_; }
  uint32_t shownCustomColor(int index) const { return shown_[index]; }

  int32_t Choose(WindowHandle owner, uint32_t flags, uint32_t* customColors,
                 uint32_t* color) override {
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

 private:
  uint32_t color_ = 0;
  int32_t result_ = 0;
  uint32_t defined_[platform::kCustomColorCount] = {};
  bool isDefined_[platform::kCustomColorCount] = {};

  int runs_ = 0;
  WindowHandle owner_ = nullptr;
  uint32_t flags_ = 0;
  uint32_t startColor_ = 0;
  uint32_t shown_[platform::kCustomColorCount] = {};
};

}  // namespace tms::testing
