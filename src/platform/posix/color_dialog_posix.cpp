// There is no system colour dialog on POSIX: the stand-in answers as a user
// who cancels at once would, leaving the custom colours untouched.
#include "platform/color_dialog.h"

namespace tms::platform {
namespace {

class PosixColorDialog final : public ColorDialog {
 public:
  constexpr PosixColorDialog() = default;

  int32_t Choose(WindowHandle, uint32_t, uint32_t*, uint32_t*) override { return 0; }
};

PosixColorDialog systemColorDialog;

}  // namespace

ColorDialog& SystemColorDialog() {
  return systemColorDialog;
}

}  // namespace tms::platform
