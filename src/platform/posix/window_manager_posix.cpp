// POSIX has no window manager that the media players live in: the version
// query reports no Windows platform and no window is ever found, so both
// now-playing exports answer that nothing plays.
#include "platform/window_manager.h"

namespace tms::platform {
namespace {

class PosixWindowManager final : public WindowManager {
 public:
  constexpr PosixWindowManager() = default;

  uint32_t VersionPlatformId() override { return 0; }
  WindowHandle FindWindowWide(const WideChar*, const WideChar*) override { return nullptr; }
  WindowHandle FindWindowAnsi(const char*, const char*) override { return nullptr; }
  int32_t WindowTextLengthWide(WindowHandle) override { return 0; }
  int32_t WindowTextLengthAnsi(WindowHandle) override { return 0; }
  int32_t WindowTextWide(WindowHandle, WideChar* buffer, int32_t count) override {
    if (buffer != nullptr && count > 0) buffer[0] = 0;
    return 0;
  }
  int32_t WindowTextAnsi(WindowHandle, char* buffer, int32_t count) override {
    if (buffer != nullptr && count > 0) buffer[0] = 0;
    return 0;
  }
  bool SendMessageAbortIfHung(WindowHandle, uint32_t, uintptr_t, intptr_t, uint32_t,
                              uintptr_t*) override {
    return false;
  }
};

PosixWindowManager systemWindowManager;

}  // namespace

WindowManager& SystemWindowManager() { return systemWindowManager; }

}  // namespace tms::platform
