// How an export is declared: undecorated C names, stdcall on 32-bit Windows
// (names fixed by the module-definition file), default visibility elsewhere.
#pragma once

#if defined(_WIN32)
#define TMS_EXPORT extern "C"
#define TMS_CALL __stdcall
#else
#define TMS_EXPORT extern "C" __attribute__((visibility("default")))
#define TMS_CALL
#endif
