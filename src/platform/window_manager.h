// The window-manager calls that the now-playing lookup needs: the platform
// family, finding a top-level window by class, reading its title in the wide
// or the ANSI form, and one message sent with a time limit.
#pragma once

#include "platform/types.h"

namespace tms::platform {

class WindowManager {
 public:
  // The platform identifier that the system's version query reports (0 on
  // Win32s, 1 on the Windows 95 family, kPlatformIdNt on the NT family); 0
  // when the query fails.
  virtual uint32_t VersionPlatformId() = 0;

  // The first top-level window whose class and title match; a null name
  // matches any window, an empty one only an empty class or title. Null when
  // there is none.
  virtual WindowHandle FindWindowWide(const WideChar* className, const WideChar* windowName) = 0;
  virtual WindowHandle FindWindowAnsi(const char* className, const char* windowName) = 0;

  // The title's length without terminator, in UTF-16 units (wide) or bytes
  // (ANSI); 0 for no title or failure. A window of the caller's own process
  // answers this itself, so the value is whatever it says.
  virtual int32_t WindowTextLengthWide(WindowHandle window) = 0;
  virtual int32_t WindowTextLengthAnsi(WindowHandle window) = 0;

  // Writes the title, cut to count - 1 units and terminated, into `buffer`,
  // which holds at least `count` units. The result is the number of units
  // written without the terminator; 0 for no title or failure.
  virtual int32_t WindowTextWide(WindowHandle window, WideChar* buffer, int32_t count) = 0;
  virtual int32_t WindowTextAnsi(WindowHandle window, char* buffer, int32_t count) = 0;

  // Sends a message (ANSI form) and waits at most `timeoutMilliseconds` for
  // the answer, giving up at once on a window whose thread the system
  // considers hung. True with the answer in `reply` when the window answered.
  virtual bool SendMessageAbortIfHung(WindowHandle window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam, uint32_t timeoutMilliseconds,
                                      uintptr_t* reply) = 0;

 protected:
  ~WindowManager() = default;
};

// The system's window manager. On POSIX there is none that media players
// live in: no window is ever found.
WindowManager& SystemWindowManager();

}  // namespace tms::platform
