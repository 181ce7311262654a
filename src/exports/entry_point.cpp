// The DLL entry point: the library prepares nothing, so every notification
// (process and thread attach and detach) simply succeeds.
#include "exports/export_macros.h"

extern "C" int __stdcall DllMain(void* /*module*/, unsigned long /*reason*/, void* /*reserved*/) {
  return 1;
}
