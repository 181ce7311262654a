// Win32 window calls for the now-playing lookup.
#include <windows.h>

#include "platform/window_manager.h"

namespace tms::platform {
namespace {

HWND AsHwnd(WindowHandle window) { return static_cast<HWND>(window); }

class Win32WindowManager final : public WindowManager {
 public:
  constexpr Win32WindowManager() = default;

  uint32_t VersionPlatformId() override {
    // A failed query leaves the identifier 0, outside the NT family.
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return info.dwPlatformId;
  }

  WindowHandle FindWindowWide(const WideChar* className, const WideChar* windowName) override {
    return FindWindowW(reinterpret_cast<LPCWSTR>(className), reinterpret_cast<LPCWSTR>(windowName));
  }
  WindowHandle FindWindowAnsi(const char* className, const char* windowName) override {
    return FindWindowA(className, windowName);
  }

  int32_t WindowTextLengthWide(WindowHandle window) override {
    return GetWindowTextLengthW(AsHwnd(window));
  }
  int32_t WindowTextLengthAnsi(WindowHandle window) override {
    return GetWindowTextLengthA(AsHwnd(window));
  }

  int32_t WindowTextWide(WindowHandle window, WideChar* buffer, int32_t count) override {
    return GetWindowTextW(AsHwnd(window), reinterpret_cast<LPWSTR>(buffer), count);
  }
  int32_t WindowTextAnsi(WindowHandle window, char* buffer, int32_t count) override {
    return GetWindowTextA(AsHwnd(window), buffer, count);
  }

  bool SendMessageAbortIfHung(WindowHandle window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam, uint32_t timeoutMilliseconds,
                              uintptr_t* reply) override {
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutA(AsHwnd(window), message, wParam, lParam,
                                             SMTO_ABORTIFHUNG, timeoutMilliseconds, &answer);
    if (sent == 0) return false;
    *reply = answer;
    return true;
  }
};

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version query takes the 148-byte record");

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32WindowManager systemWindowManager;

}  // namespace

WindowManager& SystemWindowManager() { return const_cast<Win32WindowManager&>(systemWindowManager); }

}  // namespace tms::platform
