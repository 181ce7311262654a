// Loading of the library under test and the calls by name.
#include "dll/dll_harness.h"

#include <gtest/gtest.h>

namespace tms::dlltest {

HMODULE Library() {
  // Loaded once and kept for the life of the test program.
  static HMODULE library = LoadLibraryA("TolvaricModeSupport.DLL");
  return library;
}

FARPROC Export(const char* name) {
  FARPROC address = Library() == nullptr ? nullptr : GetProcAddress(Library(), name);
  EXPECT_NE(address, nullptr) << "no export " << name;
  return address;
}

StackCall CallExport(const char* name, std::initializer_list<Word> args) {
  StackCall call = {0xDEADBEEF, 0xFFFFFFFF, 0xDEADBEEF};
  FARPROC address = Export(name);
  if (address == nullptr) return call;
#if defined(__i386__)
  call.bytesRemoved = CallMeasuringStack(reinterpret_cast<const void*>(address), args.begin(),
                                         static_cast<uint32_t>(args.size()), &call.result);
  call.word = call.result;
#else
  // x64: the first four arguments travel in registers, each widened to 64
  // bits, and the result comes back in RAX, whatever the export's own types.
  void* entry = reinterpret_cast<void*>(address);
  const Word* arg = args.begin();
  switch (args.size()) {
    case 0:
      call.word = reinterpret_cast<Word (*)()>(entry)();
      break;
    case 1:
      call.word = reinterpret_cast<Word (*)(Word)>(entry)(arg[0]);
      break;
    case 2:
      call.word = reinterpret_cast<Word (*)(Word, Word)>(entry)(arg[0], arg[1]);
      break;
    case 3:
      call.word = reinterpret_cast<Word (*)(Word, Word, Word)>(entry)(arg[0], arg[1], arg[2]);
      break;
    case 4:
      call.word =
          reinterpret_cast<Word (*)(Word, Word, Word, Word)>(entry)(arg[0], arg[1], arg[2], arg[3]);
      break;
    default:
      ADD_FAILURE() << name << ": no export takes " << args.size() << " arguments";
      return call;
  }
  call.result = static_cast<uint32_t>(call.word);
  call.bytesRemoved = 0;
#endif
  return call;
}

}  // namespace tms::dlltest
