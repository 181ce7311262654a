// tmsGetCurrentMusic and tmsGetCurrentVideo against Wine's real window
// manager: player windows of the test's own process (whose window procedure
// answers Winamp's play-state query), and players in a process of their own
// (tms_fake_player.exe), one of them hung. The same tests run on the NT
// family and in Windows 98 mode, where the ANSI window calls are used and
// the HTML flag has no effect.
#include "dll/dll_harness.h"
// oleauto.h needs the types of windows.h, which comes through the harness.
#include <gtest/gtest.h>
#include <oleauto.h>
#include <stdlib.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "nowplaying/now_playing_cases.h"

namespace tms::dlltest {
namespace {

using testing::DeskWindow;
using Title = std::optional<std::wstring>;

// The shared rows use char16_t, which has WCHAR's size and representation.
const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
Title Wide(const testing::Title& text) {
  return text ? Title(std::wstring(text->begin(), text->end())) : std::nullopt;
}

DWORD PlatformId() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) ? info.dwPlatformId : 0;
}

// A title as it arrives through the ANSI window calls in the active code page.
std::wstring ThroughAnsi(const std::wstring& text) {
  std::string ansi(text.size() * 2, '\0');
  ansi.resize(WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0],
                                  static_cast<int>(ansi.size()), nullptr, nullptr));
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                  static_cast<int>(wide.size())));
  return wide;
}

// What the host gets on this platform family: HTML references only on NT.
Title Expected(const Title& plain, const Title& withReferences, bool htmlRefs) {
  if (!plain) return std::nullopt;
  if (PlatformId() != VER_PLATFORM_WIN32_NT) return ThroughAnsi(*plain);
  return htmlRefs && withReferences ? withReferences : plain;
}

// Calls tmsGetCurrentMusic or tmsGetCurrentVideo the way a host does and
// takes the BSTR over: its recorded length must be its text's, and it is
// released through tmsFreeBSTR.
Title CallTitleExport(bool video, int htmlRefs) {
  const StackCall call = CallExport(video ? "tmsGetCurrentVideo" : "tmsGetCurrentMusic",
                                    {static_cast<Word>(htmlRefs)});
  if (call.word == 0) return std::nullopt;
  BSTR bstr = reinterpret_cast<BSTR>(call.word);
  const std::wstring text(bstr, SysStringLen(bstr));
  EXPECT_EQ(wcslen(bstr), text.size()) << "recorded length is not exact";
  CallExport("tmsFreeBSTR", {call.word});
  return text;
}

// A player window keeps its play state in its user data and the length it
// reports for its title (0: the true one) in its extra bytes.
LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER && wParam == 0 && lParam == 104) {
    return GetWindowLongPtrW(window, GWLP_USERDATA);
  }
  // A window may answer the length query with anything it likes.
  const LONG_PTR reportedLength = GetWindowLongPtrW(window, 0);
  if (message == WM_GETTEXTLENGTH && reportedLength != 0) return reportedLength;
  return DefWindowProcW(window, message, wParam, lParam);
}

struct WindowCloser {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using PlayerWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

// Top-level player windows of this process, destroyed with the result.
std::vector<PlayerWindow> OpenPlayers(const std::vector<DeskWindow>& desk) {
  std::vector<PlayerWindow> players;
  for (const DeskWindow& shown : desk) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlayerWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = Wide(shown.windowClass);
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier row registered it
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, Wide(shown.title.c_str()),
                                  WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    EXPECT_NE(window, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, shown.playState);
    SetWindowLongPtrW(window, 0, shown.reportedLength);
    players.emplace_back(window);
  }
  return players;
}

// tms_fake_player.exe from beside the test program, showing one player
// window in a process of its own. It ends when its input pipe is closed.
class PlayerProcess {
 public:
  explicit PlayerProcess(const std::wstring& arguments) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    wcscpy(wcsrchr(program, L'\\') + 1, L"tms_fake_player.exe");
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &input_, &inherit, 0) ||
        !CreatePipe(&output_, &outputWrite, &inherit, 0)) {
      return;
    }
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputRead;
    startup.hStdOutput = outputWrite;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &started)) {
      CloseHandle(started.hThread);
      process_ = started.hProcess;
    }
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    // The player says "ready" once its window exists; with no player, or one
    // that dies first, the pipe is closed and the read fails.
    char line[5] = {};
    DWORD read = 0;
    ready_ =
        ReadFile(output_, line, 5, &read, nullptr) && read == 5 && std::string(line, 5) == "ready";
  }
  ~PlayerProcess() {
    CloseHandle(input_);
    if (process_ != nullptr && WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the fake player did not end";
      TerminateProcess(process_, 1);
    }
    CloseHandle(process_);
    CloseHandle(output_);
  }
  PlayerProcess(const PlayerProcess&) = delete;
  PlayerProcess& operator=(const PlayerProcess&) = delete;

  bool ready() const { return ready_; }

 private:
  HANDLE process_ = nullptr;
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  bool ready_ = false;
};

// The runs name the platform family they mean to run in; make sure Wine
// took it (Windows 98 mode is chosen per program name).
TEST(NowPlayingDll, RunsOnThePlatformFamilyTheRunAskedFor) {
  char expected[16] = {};
  if (GetEnvironmentVariableA("TMS_EXPECT_PLATFORM", expected, sizeof expected) == 0) {
    GTEST_SKIP() << "no platform family asked for";
  }
  EXPECT_EQ(PlatformId(), static_cast<DWORD>(atoi(expected)));
}

// The rows the unit tests run against the fake window list, here with real
// windows of this process.
TEST(NowPlayingDll, ReadsAndCutsTheTitlesOfRealWindows) {
  for (const testing::NowPlayingCase& row : testing::NowPlayingCases()) {
    SCOPED_TRACE(row.name);
    const auto players = OpenPlayers(row.windows);
    for (int htmlRefs : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << "htmlRefs " << htmlRefs);
      EXPECT_EQ(CallTitleExport(row.video, htmlRefs),
                Expected(Wide(row.expected), Wide(row.withReferences), htmlRefs != 0));
    }
  }
}

// On the ANSI path the title comes through the active code page: what it
// holds survives, the rest is replaced as the system's conversion does.
TEST(NowPlayingDll, AnsiPathDeliversWhatTheCodepageHolds) {
  if (PlatformId() == VER_PLATFORM_WIN32_NT) {
    GTEST_SKIP() << "the wide window calls are used on the NT family";
  }
  const struct {
    UINT codepage;
    const char16_t* title;
    const wchar_t* expected;
  } rows[] = {
      {1252, u"Caf\xE9 \x65E5", L"Caf\xE9 ?"},
      {1251, u"\x041F\x0435\x0441\x043D\x044F \x65E5", L"\x041F\x0435\x0441\x043D\x044F ?"},
      {932, u"\x65E5\x672C\x306E\x6B4C \x041F", L"\x65E5\x672C\x306E\x6B4C \x041F"},
  };
  int checked = 0;
  for (const auto& row : rows) {
    if (row.codepage != GetACP()) continue;
    SCOPED_TRACE(row.codepage);
    const auto players = OpenPlayers({{testing::kXmPlayClass, row.title}});
    EXPECT_EQ(CallTitleExport(false, 1), Title(row.expected));
    ++checked;
  }
  EXPECT_EQ(checked, 1) << "no row for code page " << GetACP();
}

// As in real life: the player is another program. Its window's title is
// read without any message to it; only the play-state query is sent, and a
// player whose window thread stops answering costs the host about a second,
// not its life: a query that got no answer means "not playing".
TEST(NowPlayingDll, PlayerInAnotherProcess) {
  const struct {
    const wchar_t* playState;  // and whether the player hangs
    Title expected;
  } rows[] = {
      {L"1", L"Remote Caf\xE9"},
      {L"0", std::nullopt},
      {L"1 --hang", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "play state " << row.playState);
    PlayerProcess player(L"\"" + std::wstring(Wide(testing::kWinampClass)) +
                         L"\" \"3. Remote Caf\xE9 - Winamp\" " + row.playState);
    ASSERT_TRUE(player.ready()) << "the fake player did not start";
    const auto foobar = OpenPlayers({{testing::kFoobarClass, u"Other   [foobar2000]"}});
    const DWORD start = GetTickCount();
    EXPECT_EQ(CallTitleExport(false, 0), Expected(row.expected, std::nullopt, false));
    EXPECT_LT(GetTickCount() - start, 3000u);
  }
}

}  // namespace
}  // namespace tms::dlltest
