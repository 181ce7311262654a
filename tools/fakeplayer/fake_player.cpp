// tms_fake_player: stands in for a media player by showing a top-level window
// with a player's class and title, for the demo and the tests.
//
//   tms_fake_player CLASS TITLE [PLAY_STATE] [--hang]
//
// The window answers Winamp's play-state query (WM_USER, wParam 0, lParam
// 104) with PLAY_STATE (default 1). Once the window exists the program
// writes "ready" to its standard output. It runs until its standard input
// reaches end of file, so whoever started it ends it by closing that pipe.
// With --hang the window's thread stops handling messages once it is ready,
// as a player that hangs does.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

namespace {

LRESULT playState = 1;

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER && wParam == 0 && lParam == 104) return playState;
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI EndAtEndOfInput(LPVOID) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  char buffer[64];
  DWORD read = 0;
  while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
  }
  ExitProcess(0);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) {
    fprintf(stderr, "usage: tms_fake_player CLASS TITLE [PLAY_STATE] [--hang]\n");
    return 2;
  }
  bool hang = false;
  for (int i = 3; i < argc; ++i) {
    if (wcscmp(argv[i], L"--hang") == 0) {
      hang = true;
    } else {
      playState = static_cast<LRESULT>(wcstol(argv[i], nullptr, 0));
    }
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = PlayerWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = argv[1];
  if (RegisterClassW(&windowClass) == 0) {
    fprintf(stderr, "tms_fake_player: cannot register the class (error %lu)\n", GetLastError());
    return 1;
  }
  HWND window = CreateWindowExW(0, argv[1], argv[2], WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 320, 120, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  if (window == nullptr) {
    fprintf(stderr, "tms_fake_player: cannot create the window (error %lu)\n", GetLastError());
    return 1;
  }
  HANDLE watcher = CreateThread(nullptr, 0, EndAtEndOfInput, nullptr, 0, nullptr);
  if (watcher == nullptr) return 1;
  printf("ready\n");
  fflush(stdout);

  if (hang) Sleep(INFINITE);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
