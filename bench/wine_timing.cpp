// What each export of the real DLL costs next to the system calls that its
// contract makes it call, timed in one loop per row and printed as a table.
// The calls per row come from TMS_TIMING_ITERATIONS (a few thousand by
// default; PERFORMANCE.md gives the command for a measurement). A measurement,
// not a test: it fails only when the DLL or one of its exports is missing.
#include <windows.h>
#include <oleauto.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

#include "TolvaricModeSupport.h"

namespace {

constexpr uint32_t kDefaultIterations = 2000;
constexpr int kRepetitions = 3;  // the fastest of these is reported

uint32_t Iterations() {
  const char* text = getenv("TMS_TIMING_ITERATIONS");
  const long value = text == nullptr ? 0 : strtol(text, nullptr, 10);
  return value > 0 ? static_cast<uint32_t>(value) : kDefaultIterations;
}

// Nanoseconds per call of `body`, the fastest of a few loops.
template <typename Body>
double NanosecondsPerCall(uint32_t iterations, Body body) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 0;
  for (int repetition = 0; repetition < kRepetitions; ++repetition) {
    LARGE_INTEGER start, stop;
    QueryPerformanceCounter(&start);
    for (uint32_t i = 0; i < iterations; ++i) body(i);
    QueryPerformanceCounter(&stop);
    const double nanoseconds =
        1e9 * static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart / iterations;
    if (repetition == 0 || nanoseconds < best) best = nanoseconds;
  }
  return best;
}

template <typename Function>
Function Find(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A function of a system library that the process has loaded already.
template <typename Function>
Function FindSystemFunction(const char* library, const char* name) {
  return Find<Function>(GetModuleHandleA(library), name);
}

// The system calls that the gathering of version facts makes on this
// system: the extended version query, RtlGetVersion when GetVersionExA says
// 6.2, the native architecture, and the calls that only some versions need.
void GatherVersionFactsDirectly() {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
  const bool nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const DWORD version = info.dwMajorVersion * 100 + info.dwMinorVersion;
  if (nt && version == 602) {
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW kernel = {};
    kernel.dwOSVersionInfoSize = sizeof kernel;
    FindSystemFunction<RtlGetVersion>("ntdll.dll", "RtlGetVersion")(&kernel);
    char servicePack[128];
    WideCharToMultiByte(CP_ACP, 0, kernel.szCSDVersion, -1, servicePack, sizeof servicePack,
                        nullptr, nullptr);
  }
  SYSTEM_INFO system = {};
  FindSystemFunction<void(WINAPI*)(SYSTEM_INFO*)>("kernel32.dll", "GetNativeSystemInfo")(&system);
  if (nt && (version == 600 || version == 601)) {
    DWORD product = 0;
    FindSystemFunction<BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*)>("kernel32.dll",
                                                                         "GetProductInfo")(
        info.dwMajorVersion, info.dwMinorVersion, 0, 0, &product);
  }
  if (nt && version == 502) GetSystemMetrics(89);
  if (nt && version == 501) {
    GetSystemMetrics(86);
    GetSystemMetrics(87);
    GetSystemMetrics(88);
  }
}

// tmsCopyString's contract: the text in two zero-filled global blocks, the
// ANSI length measured and then converted.
void CopyStringDirectly(const wchar_t* text, char* destination) {
  const int units = lstrlenW(text);
  HGLOBAL wide = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 2 * units + 2);
  memcpy(reinterpret_cast<void*>(wide), text, 2 * units + 2);
  const int bytes =
      WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide), -1, nullptr, 0, nullptr, nullptr);
  HGLOBAL ansi = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes + 1);
  WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(wide), -1,
                      reinterpret_cast<char*>(ansi), bytes, nullptr, nullptr);
  lstrcpyA(destination, reinterpret_cast<const char*>(ansi));
  GlobalFree(ansi);
  GlobalFree(wide);
}

struct TimingRow {
  const char* exportName;
  double exportNanoseconds;
  const char* systemCalls;  // null: the export needs none
  double systemNanoseconds;
};

}  // namespace

int main() {
  HMODULE module = LoadLibraryA("TolvaricModeSupport.DLL");
  if (module == nullptr) {
    fprintf(stderr, "TolvaricModeSupport.DLL could not be loaded\n");
    return 1;
  }
  const uint32_t n = Iterations();
  const wchar_t* title = L"Now playing: a title";
  char ansi[64];
  char name[182];
  char path[128];
  uint32_t version[5] = {20};
  SYSTEMTIME date = {2010, 1, 0, 1, 12, 0, 0, 0};
  const char* folder = "D:\\Backup";
  const char* source = "C:\\Documents and Settings\\All Users\\Documents\\page.htm";

  const auto dllGetVersion = Find<decltype(&DllGetVersion)>(module, "DllGetVersion");
  const auto copyString = Find<decltype(&tmsCopyString)>(module, "tmsCopyString");
  const auto freeBstr = Find<decltype(&tmsFreeBSTR)>(module, "tmsFreeBSTR");
  const auto music = Find<decltype(&tmsGetCurrentMusic)>(module, "tmsGetCurrentMusic");
  const auto video = Find<decltype(&tmsGetCurrentVideo)>(module, "tmsGetCurrentVideo");
  const auto dayNum = Find<decltype(&tmsGetDayNum)>(module, "tmsGetDayNum");
  const auto dayNumEx = Find<decltype(&tmsGetDayNumEx)>(module, "tmsGetDayNumEx");
  const auto osName = Find<decltype(&tmsGetHostOSName)>(module, "tmsGetHostOSName");
  const auto osNameShort = Find<decltype(&tmsGetHostOSNameShort)>(module, "tmsGetHostOSNameShort");
  const auto backupPath = Find<decltype(&tmsGetPathForBackup)>(module, "tmsGetPathForBackup");
  const auto length = Find<decltype(&tmsGetStringLength)>(module, "tmsGetStringLength");
  const auto flatten = Find<decltype(&tmsModifyOriginalFileName)>(module, "tmsModifyOriginalFileName");
  if (!(dllGetVersion && copyString && freeBstr && music && video && dayNum && dayNumEx && osName &&
        osNameShort && backupPath && length && flatten)) {
    fprintf(stderr, "an export is missing\n");
    return 1;
  }

  const TimingRow rows[] = {
      {"DllGetVersion", NanosecondsPerCall(n, [&](uint32_t) {
         dllGetVersion(reinterpret_cast<TmsDllVersionInfo*>(version));
       }), nullptr, 0},
      {"tmsCopyString (20 characters)", NanosecondsPerCall(n, [&](uint32_t) {
         copyString(title, ansi);
       }), "2 GlobalAlloc, 2 WideCharToMultiByte, 2 GlobalFree",
       NanosecondsPerCall(n, [&](uint32_t) { CopyStringDirectly(title, ansi); })},
      {"SysAllocString + tmsFreeBSTR", NanosecondsPerCall(n, [&](uint32_t) {
         freeBstr(SysAllocString(title));
       }), "SysAllocString + SysFreeString",
       NanosecondsPerCall(n, [&](uint32_t) { SysFreeString(SysAllocString(title)); })},
      // With no player running, each probe is one platform query and one
      // window search: four for music, two for video.
      {"tmsGetCurrentMusic (no player)", NanosecondsPerCall(n, [&](uint32_t) { freeBstr(music(0)); }),
       "4 x (GetVersionExA + FindWindowW)", NanosecondsPerCall(n, [&](uint32_t) {
         for (const wchar_t* windowClass : {L"XMPLAY-MAIN", L"WMPlayerApp", L"Winamp v1.x",
                                            L"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}"}) {
           OSVERSIONINFOA info = {};
           info.dwOSVersionInfoSize = sizeof info;
           GetVersionExA(&info);
           FindWindowW(windowClass, nullptr);
         }
       })},
      {"tmsGetCurrentVideo (no player)", NanosecondsPerCall(n, [&](uint32_t) { freeBstr(video(0)); }),
       "2 x (GetVersionExA + FindWindowW)", NanosecondsPerCall(n, [&](uint32_t) {
         for (const wchar_t* windowClass : {L"LightAlloyFront", L"MediaPlayerClassicW"}) {
           OSVERSIONINFOA info = {};
           info.dwOSVersionInfoSize = sizeof info;
           GetVersionExA(&info);
           FindWindowW(windowClass, nullptr);
         }
       })},
      {"tmsGetDayNum", NanosecondsPerCall(n, [&](uint32_t) { dayNum(); }),
       "GetLocalTime, SystemTimeToFileTime", NanosecondsPerCall(n, [&](uint32_t) {
         SYSTEMTIME now;
         FILETIME ticks;
         GetLocalTime(&now);
         now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
         SystemTimeToFileTime(&now, &ticks);
       })},
      {"tmsGetDayNumEx", NanosecondsPerCall(n, [&](uint32_t) { dayNumEx(&date); }),
       "SystemTimeToFileTime", NanosecondsPerCall(n, [&](uint32_t) {
         FILETIME ticks;
         SystemTimeToFileTime(&date, &ticks);
       })},
      {"tmsGetHostOSName", NanosecondsPerCall(n, [&](uint32_t) { osName(name, 0, 0); }),
       "the version queries of this system", NanosecondsPerCall(n, [&](uint32_t) {
         GatherVersionFactsDirectly();
       })},
      {"tmsGetHostOSNameShort", NanosecondsPerCall(n, [&](uint32_t) { osNameShort(name); }),
       "the version queries of this system", NanosecondsPerCall(n, [&](uint32_t) {
         GatherVersionFactsDirectly();
       })},
      {"tmsGetPathForBackup (9 + 56 bytes)", NanosecondsPerCall(n, [&](uint32_t) {
         backupPath(folder, source, path, sizeof path);
       }), "HeapAlloc + HeapFree", NanosecondsPerCall(n, [&](uint32_t) {
         // Held in a volatile, so that the pair is not optimised away.
         void* volatile scratch = HeapAlloc(GetProcessHeap(), 0, 58);
         HeapFree(GetProcessHeap(), 0, scratch);
       })},
      {"tmsGetStringLength (20 units)", NanosecondsPerCall(n, [&](uint32_t) { length(title); }),
       nullptr, 0},
      {"tmsModifyOriginalFileName (56 bytes)", NanosecondsPerCall(n, [&](uint32_t) {
         flatten(source, path, sizeof path);
       }), nullptr, 0},
  };
  FreeLibrary(module);

  printf("%u calls per loop, fastest of %d loops\n", n, kRepetitions);
  printf("%-38s %9s  %-50s %9s %6s\n", "export", "ns/call", "system calls it must make", "ns/call",
         "ratio");
  for (const TimingRow& row : rows) {
    if (row.systemCalls == nullptr) {
      printf("%-38s %9.1f  %-50s\n", row.exportName, row.exportNanoseconds, "(none)");
    } else {
      printf("%-38s %9.1f  %-50s %9.1f %6.2f\n", row.exportName, row.exportNanoseconds,
             row.systemCalls, row.systemNanoseconds, row.exportNanoseconds / row.systemNanoseconds);
    }
  }
  return 0;
}
