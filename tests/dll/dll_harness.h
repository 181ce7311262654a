// Loads the built TolvaricModeSupport.DLL once per test program, as a host
// does, and calls its exports by name. On 32-bit x86 every call goes through
// a thunk that also measures how many bytes of arguments the callee removed
// from the stack; x64 has one calling convention and nothing to measure.
#pragma once

#include <stdint.h>
#include <windows.h>

#include <vector>

#if defined(__i386__)
extern "C" uint32_t CallMeasuringStack(const void* function, const uint32_t* args, uint32_t count,
                                       uint32_t* result);
#endif

namespace tms::dlltest {

// One argument slot: 4 bytes on x86, a 64-bit register on x64.
using Word = uintptr_t;

// Whether StackCall::bytesRemoved is measured (x86 only).
constexpr bool kMeasuresStack = sizeof(Word) == 4;

// The library, loaded from beside the test program for the whole run.
HMODULE Library();

struct StackCall {
  uint32_t result;        // the 32-bit result (EAX)
  uint32_t bytesRemoved;  // x86: stack bytes the callee removed; x64: 0
  Word word;              // the whole result register, for a pointer result
};

// Calls an export by name with up to four word-sized arguments; fails the
// current test when the export is missing.
StackCall CallExport(const char* name, const std::vector<Word>& args);

inline Word Arg(const void* pointer) {
  return reinterpret_cast<Word>(pointer);
}

}  // namespace tms::dlltest
