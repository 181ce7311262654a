// Finding a player's window and reading its title as wide text on both
// platform families: the wide window calls on the NT family, the ANSI calls
// (with the text carried through a DualString) everywhere else.
#pragma once

#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/types.h"
#include "platform/window_manager.h"

namespace tms {

// The platform services the now-playing lookup works with.
struct NowPlayingServices {
  platform::WindowManager& windows;
  platform::Memory& memory;
  platform::Codepage& codepage;
};

// True on the NT family; false otherwise and when the version query fails.
// Asked anew at every call: nothing is cached.
bool IsNtPlatform(platform::WindowManager& windows);

// The first top-level window with this class and title, or null. A null
// name matches any window and is passed on as null, never as an empty text
// (which would match only windows whose title is empty).
WindowHandle PlatformFindWindow(const NowPlayingServices& services, const WideChar* className,
                                const WideChar* windowName);

// The title's length without terminator: UTF-16 units on the NT family, ANSI
// bytes elsewhere (never fewer than the units the title converts to). 0 for
// no title or failure.
int32_t PlatformGetWindowTextLength(const NowPlayingServices& services, WindowHandle window);

// Writes the title as wide text, cut to at most count - 1 units and
// terminated, into `buffer`, which holds at least `count` units. The result
// is what the system's call returned (units on the NT family, ANSI bytes
// elsewhere), so callers use it only to tell 0 (nothing read) from success.
// Example: on the ANSI path with count 4, the title "Hello" arrives as "Hel"
// and the result is 3.
int32_t PlatformGetWindowText(const NowPlayingServices& services, WindowHandle window,
                              WideChar* buffer, int32_t count);

}  // namespace tms
