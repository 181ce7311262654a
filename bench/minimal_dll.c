/* The yardstick for load_cost.exe and the load/unload stress test: a DLL
 * that binds one function of each system DLL the library needs at load time
 * (comdlg32 aside) and exports one function that does nothing. Linked as
 * the library is: no C runtime, the entry point answers TRUE. */
#include <windows.h>
#include <oleauto.h>
#include <shlwapi.h>

/* Referenced from data so that the loader has to bind each import. */
__attribute__((used)) static const void* const kImports[] = {
    (const void*)GetVersionExA,     (const void*)GetSystemMetrics, (const void*)RegCloseKey,
    (const void*)PathAddBackslashA, (const void*)SysFreeString,
};

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  (void)module;
  (void)reason;
  (void)reserved;
  return TRUE;
}

__declspec(dllexport) void WINAPI NoOp(void) {}
