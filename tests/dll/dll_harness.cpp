// Loading of the library under test and the measured calls.
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

StackCall CallExport(const char* name, std::initializer_list<uint32_t> args) {
  StackCall call = {0xDEADBEEF, 0xFFFFFFFF};
  FARPROC address = Export(name);
  if (address == nullptr) return call;
  call.bytesRemoved = CallMeasuringStack(reinterpret_cast<const void*>(address), args.begin(),
                                         static_cast<uint32_t>(args.size()), &call.result);
  return call;
}

}  // namespace tms::dlltest
