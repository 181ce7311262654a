// Loading of the library under test and the calls by name.
#include "dll/dll_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tms::dlltest {

HMODULE Library() {
  // Loaded once and kept for the life of the test program.
  static HMODULE library = LoadLibraryA("TolvaricModeSupport.DLL");
  return library;
}

StackCall CallExport(const char* name, const std::vector<Word>& args) {
  StackCall call = {0xDEADBEEF, 0xFFFFFFFF, 0xDEADBEEF};
  FARPROC address = Library() == nullptr ? nullptr : GetProcAddress(Library(), name);
  if (address == nullptr) {
    ADD_FAILURE() << "no export " << name;
    return call;
  }
#if defined(__i386__)
  call.bytesRemoved = CallMeasuringStack(reinterpret_cast<const void*>(address), args.data(),
                                         static_cast<uint32_t>(args.size()), &call.result);
  call.word = call.result;
#else
  // x64: the first four arguments travel in registers, each widened to 64
  // bits, and the result comes back in RAX, whatever the export's own types.
  // The caller owns the registers and the stack, so every export can be
  // called with four: the ones it does not take are never read.
  if (args.size() > 4) {
    ADD_FAILURE() << name << ": no export takes " << args.size() << " arguments";
    return call;
  }
  Word arg[4] = {};
  std::copy(args.begin(), args.end(), arg);
  call.word = reinterpret_cast<Word (*)(Word, Word, Word, Word)>(reinterpret_cast<void*>(address))(
      arg[0], arg[1], arg[2], arg[3]);
  call.result = static_cast<uint32_t>(call.word);
  call.bytesRemoved = 0;
#endif
  return call;
}

}  // namespace tms::dlltest
