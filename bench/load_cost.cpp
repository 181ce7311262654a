// Measures, under Wine or Windows, what a host pays for the library:
//   load_cost.exe load [--keep-system-dlls] [--rounds R] [--cycles N] DLL...
//     LoadLibrary + FreeLibrary of each DLL, N cycles per round, the DLLs
//     taking turns for R rounds; prints the median microseconds per cycle
//     and the ratio to the first DLL (the yardstick).
//   load_cost.exe color [--rounds R] DLL...
//     one tmsGetHTMLColor each round with the dialog cancelled as soon as it
//     is activated (the DLL loaded before the call and unloaded after it,
//     untimed); prints the median and the fastest milliseconds per call.
// Built by hand (bench/build.sh), not by CMake: these are measurements, not
// tests.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER frequency = {};
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The system DLLs the library binds besides comdlg32: a GUI host has them
// loaded already, so with --keep-system-dlls only the DLL itself is mapped.
void KeepSystemDlls() {
  const char* names[] = {"user32.dll", "advapi32.dll", "shlwapi.dll", "oleaut32.dll"};
  for (const char* name : names) {
    if (LoadLibraryA(name) == nullptr) fprintf(stderr, "cannot load %s\n", name);
  }
}

int MeasureLoad(const std::vector<const char*>& dlls, int rounds, int cycles) {
  std::vector<std::vector<double>> perCycle(dlls.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < dlls.size(); ++i) {
      const double start = Now();
      for (int cycle = 0; cycle < cycles; ++cycle) {
        HMODULE module = LoadLibraryA(dlls[i]);
        if (module == nullptr) {
          fprintf(stderr, "cannot load %s: error %lu\n", dlls[i], GetLastError());
          return 1;
        }
        FreeLibrary(module);
      }
      perCycle[i].push_back((Now() - start) / cycles * 1e6);
    }
  }
  const double yardstick = Median(perCycle[0]);
  for (size_t i = 0; i < dlls.size(); ++i) {
    const double median = Median(perCycle[i]);
    printf("%-60s %10.1f us/cycle  ratio %.2f\n", dlls[i], median, median / yardstick);
  }
  return 0;
}

// Cancels the colour dialog the moment it becomes active.
LRESULT CALLBACK CancelDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

using GetHtmlColorFunction = int(WINAPI*)(HWND, char*);

int MeasureColor(const std::vector<const char*>& dlls, int rounds) {
  HHOOK hook = SetWindowsHookExA(WH_CBT, CancelDialogs, nullptr, GetCurrentThreadId());
  if (hook == nullptr) {
    fprintf(stderr, "cannot hook: error %lu\n", GetLastError());
    return 1;
  }
  // Each DLL is loaded just before its call and unloaded after it, untimed,
  // so that what one DLL keeps loaded (a static comdlg32 import) is gone
  // again when the next one is called.
  std::vector<std::vector<double>> perCall(dlls.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < dlls.size(); ++i) {
      HMODULE module = LoadLibraryA(dlls[i]);
      auto function = module == nullptr ? nullptr
                                        : reinterpret_cast<GetHtmlColorFunction>(reinterpret_cast<void*>(
                                              GetProcAddress(module, "tmsGetHTMLColor")));
      if (function == nullptr) {
        fprintf(stderr, "cannot load %s or find tmsGetHTMLColor\n", dlls[i]);
        return 1;
      }
      char result[16];
      memset(result, 0x55, sizeof result);
      const double start = Now();
      const int chosen = function(nullptr, result);
      perCall[i].push_back((Now() - start) * 1e3);
      FreeLibrary(module);
      if (chosen != 0 || result[0] != 0) {
        fprintf(stderr, "%s: the dialog was not cancelled\n", dlls[i]);
        return 1;
      }
    }
  }
  for (size_t i = 0; i < dlls.size(); ++i) {
    printf("%-60s median %8.2f ms/call  fastest %8.2f ms\n", dlls[i], Median(perCall[i]),
           *std::min_element(perCall[i].begin(), perCall[i].end()));
  }
  UnhookWindowsHookEx(hook);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s load|color [--keep-system-dlls] [--rounds R] [--cycles N] DLL...\n",
            argv[0]);
    return 2;
  }
  const bool load = strcmp(argv[1], "load") == 0;
  int rounds = load ? 15 : 25;
  int cycles = 20;
  std::vector<const char*> dlls;
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--keep-system-dlls") == 0) {
      KeepSystemDlls();
    } else if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      rounds = atoi(argv[++i]);
    } else if (strcmp(argv[i], "--cycles") == 0 && i + 1 < argc) {
      cycles = atoi(argv[++i]);
    } else {
      dlls.push_back(argv[i]);
    }
  }
  if (dlls.empty() || rounds < 1 || cycles < 1) return 2;
  return load ? MeasureLoad(dlls, rounds, cycles) : MeasureColor(dlls, rounds);
}
