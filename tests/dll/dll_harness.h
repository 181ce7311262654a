// Loads the built TolvaricModeSupport.DLL once per test program, as a host
// does, and calls its exports through a thunk that measures stack cleanup.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <initializer_list>

extern "C" uint32_t CallMeasuringStack(const void* function, const uint32_t* args,
                                       uint32_t count, uint32_t* result);

namespace tms::dlltest {

// The library, loaded from beside the test program for the whole run.
HMODULE Library();

// The export's address by name; fails the current test when it is missing.
FARPROC Export(const char* name);

struct StackCall {
  uint32_t result;
  uint32_t bytesRemoved;
};

// Calls an export with 32-bit arguments through the measuring thunk.
StackCall CallExport(const char* name, std::initializer_list<uint32_t> args);

inline uint32_t Arg(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

}  // namespace tms::dlltest
