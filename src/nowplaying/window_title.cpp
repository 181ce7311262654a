// Window title access over the platform's wide or ANSI window calls.
#include "nowplaying/window_title.h"

#include "platform/text.h"
#include "strings/dual_string.h"

namespace tms {
namespace {

// A DualString whose conversion lost a block holds an empty text in place of
// the caller's; only a text with both copies may reach the system.
bool HoldsBothCopies(DualString& text) {
  return text.GetWide() != nullptr && text.GetAnsi() != nullptr;
}

}  // namespace

bool IsNtPlatform(platform::WindowManager& windows) {
  return windows.VersionPlatformId() == platform::kPlatformIdNt;
}

WindowHandle PlatformFindWindow(const NowPlayingServices& services, const WideChar* className,
                                const WideChar* windowName) {
  if (IsNtPlatform(services.windows)) {
    return services.windows.FindWindowWide(className, windowName);
  }
  DualString ansiClass(services.memory, services.codepage);
  DualString ansiName(services.memory, services.codepage);
  if (className != nullptr) {
    ansiClass.SetWide(className);
    if (!HoldsBothCopies(ansiClass)) return nullptr;
  }
  if (windowName != nullptr) {
    ansiName.SetWide(windowName);
    if (!HoldsBothCopies(ansiName)) return nullptr;
  }
  return services.windows.FindWindowAnsi(className != nullptr ? ansiClass.GetAnsi() : nullptr,
                                         windowName != nullptr ? ansiName.GetAnsi() : nullptr);
}

int32_t PlatformGetWindowTextLength(const NowPlayingServices& services, WindowHandle window) {
  if (IsNtPlatform(services.windows)) return services.windows.WindowTextLengthWide(window);
  return services.windows.WindowTextLengthAnsi(window);
}

int32_t PlatformGetWindowText(const NowPlayingServices& services, WindowHandle window,
                              WideChar* buffer, int32_t count) {
  if (IsNtPlatform(services.windows)) {
    return services.windows.WindowTextWide(window, buffer, count);
  }
  if (buffer == nullptr || count <= 0) return 0;
  buffer[0] = 0;
  // The ANSI block gets ten spare bytes beyond what the system is allowed to
  // write; the limit passed on is the caller's count.
  constexpr int32_t kSpare = 10;
  if (count > INT32_MAX - kSpare) return 0;
  DualString scratch(services.memory, services.codepage);
  scratch.Allocate(count + kSpare);
  if (scratch.GetAnsi() == nullptr) return 0;
  const int32_t result = services.windows.WindowTextAnsi(window, scratch.GetAnsi(), count);
  scratch.AnsiToWide();
  const WideChar* wide = scratch.GetWide();
  if (wide == nullptr) return 0;
  // At most count - 1 bytes convert to at most count - 1 units in any code
  // page; the bound is kept here as well, so nothing past the caller's count
  // is written whatever the system delivered.
  int32_t units = TextLength(wide);
  if (units > count - 1) units = count - 1;
  CopyUnits(buffer, wide, static_cast<size_t>(units));
  buffer[units] = 0;
  return result;
}

}  // namespace tms
