// tmsGetCurrentMusic and tmsGetCurrentVideo against Wine's real window
// manager: player windows of the test's own process (whose window procedure
// answers Winamp's play-state query), and players in a process of their own
// (tms_fake_player.exe), one of them hung. The same tests run on the NT
// family and in Windows 98 mode, where the ANSI window calls are used and
// the HTML flag has no effect.
// windows.h comes first (through the harness): oleauto.h needs its types.
#include "dll/dll_harness.h"

#include <gtest/gtest.h>
#include <oleauto.h>
#include <stdlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "nowplaying/now_playing_cases.h"

namespace tms::dlltest {
namespace {

// The shared rows use char16_t, which has WCHAR's size and representation.
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

const wchar_t* const kXmPlay = Wide(testing::kXmPlayClass);
const wchar_t* const kWinamp = Wide(testing::kWinampClass);
const wchar_t* const kFoobar = Wide(testing::kFoobarClass);

const wchar_t kReportedLengthProperty[] = L"TmsReportedLength";

bool NtFamily() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// A title as it arrives through the ANSI window calls in the active code page.
std::wstring ThroughAnsi(const std::wstring& text) {
  if (text.empty()) return text;
  std::string ansi(text.size() * 2 + 1, '\0');
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0],
                                        static_cast<int>(ansi.size()), nullptr, nullptr);
  std::wstring wide(static_cast<size_t>(bytes) + 1, L'\0');
  const int units = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0],
                                        static_cast<int>(wide.size()));
  wide.resize(units > 0 ? static_cast<size_t>(units) - 1 : 0);
  return wide;
}

// What the host gets on this platform family: HTML references only on NT.
std::optional<std::wstring> Expected(const wchar_t* plain, const wchar_t* withReferences,
                                     bool htmlRefs) {
  if (plain == nullptr) return std::nullopt;
  if (!NtFamily()) return ThroughAnsi(plain);
  return htmlRefs && withReferences != nullptr ? withReferences : plain;
}

using Title = std::optional<std::wstring>;

// Calls an export the way a host does and takes the BSTR over: its recorded
// length must be its text's, and it is released through tmsFreeBSTR.
Title CallTitleExport(const char* name, int htmlRefs) {
  const StackCall call = CallExport(name, {static_cast<Word>(htmlRefs)});
  if (kMeasuresStack) {
    EXPECT_EQ(call.bytesRemoved, 4u);
  }
  if (call.word == 0) return std::nullopt;
  BSTR bstr = reinterpret_cast<BSTR>(call.word);
  const std::wstring text(bstr, SysStringLen(bstr));
  EXPECT_EQ(wcslen(bstr), text.size()) << "recorded length is not exact";
  CallExport("tmsFreeBSTR", {call.word});
  return text;
}

Title Music(int htmlRefs = 0) { return CallTitleExport("tmsGetCurrentMusic", htmlRefs); }
Title Video(int htmlRefs = 0) { return CallTitleExport("tmsGetCurrentVideo", htmlRefs); }

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER && wParam == 0 && lParam == 104) {
    return GetWindowLongPtrW(window, GWLP_USERDATA);
  }
  // A window may answer the length query with anything it likes.
  HANDLE reported = GetPropW(window, kReportedLengthProperty);
  if (message == WM_GETTEXTLENGTH && reported != nullptr) {
    return static_cast<LRESULT>(reinterpret_cast<uintptr_t>(reported));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct PlayerSetup {
  const wchar_t* windowClass;
  std::wstring title;
  LRESULT playState = 1;
  int reportedLength = 0;  // 0: the window's true length
};

// A top-level player window of this process, destroyed with the object.
class PlayerWindow {
 public:
  explicit PlayerWindow(const PlayerSetup& setup) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlayerWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = setup.windowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when an earlier test registered it
    window_ = CreateWindowExW(0, setup.windowClass, setup.title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                              200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    EXPECT_NE(window_, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, setup.playState);
    if (setup.reportedLength != 0) {
      SetPropW(window_, kReportedLengthProperty,
               reinterpret_cast<HANDLE>(static_cast<uintptr_t>(setup.reportedLength)));
    }
  }
  ~PlayerWindow() {
    RemovePropW(window_, kReportedLengthProperty);
    DestroyWindow(window_);
  }
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

 private:
  HWND window_ = nullptr;
};

std::vector<std::unique_ptr<PlayerWindow>> OpenPlayers(const std::vector<PlayerSetup>& setups) {
  std::vector<std::unique_ptr<PlayerWindow>> players;
  for (const PlayerSetup& setup : setups) players.push_back(std::make_unique<PlayerWindow>(setup));
  return players;
}

// tms_fake_player.exe from beside the test program, showing one player
// window in a process of its own. It ends when its input pipe is closed.
class PlayerProcess {
 public:
  PlayerProcess(const wchar_t* windowClass, const std::wstring& title, int playState,
                bool hang) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    wcscpy(wcsrchr(program, L'\\') + 1, L"tms_fake_player.exe");
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" \"" + windowClass + L"\" \"" +
                               title + L"\" " + std::to_wstring(playState) +
                               (hang ? L" --hang" : L"");

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inputRead = nullptr;
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&inputRead, &input_, &inherit, 0) ||
        !CreatePipe(&output_, &outputWrite, &inherit, 0)) {
      ADD_FAILURE() << "no pipes";
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
    const BOOL created = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &started);
    CloseHandle(inputRead);
    CloseHandle(outputWrite);
    if (!created) {
      ADD_FAILURE() << "cannot start tms_fake_player.exe (error " << GetLastError() << ")";
      return;
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    // The player says "ready" once its window exists; a player that dies
    // first closes the pipe and the read fails.
    char line[8] = {};
    DWORD read = 0;
    ready_ = ReadFile(output_, line, 5, &read, nullptr) && read == 5 &&
             std::string(line, 5) == "ready";
    EXPECT_TRUE(ready_) << "the fake player did not start";
  }
  ~PlayerProcess() {
    if (input_ != nullptr) CloseHandle(input_);
    if (process_ != nullptr) {
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the fake player did not end";
        TerminateProcess(process_, 1);
      }
      CloseHandle(process_);
    }
    if (output_ != nullptr) CloseHandle(output_);
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
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(atoi(expected)));
}

// The rows the unit tests run against the fake window list, here with real
// windows of this process.
TEST(NowPlayingDll, ReadsAndCutsTheTitlesOfRealWindows) {
  for (const testing::NowPlayingCase& row : testing::NowPlayingCases()) {
    SCOPED_TRACE(row.name);
    std::vector<PlayerSetup> setups;
    for (const testing::DeskWindow& shown : row.windows) {
      setups.push_back({Wide(shown.windowClass), Wide(shown.title), shown.playState,
                        shown.reportedLength});
    }
    const auto players = OpenPlayers(setups);
    const std::wstring expected = row.expected ? Wide(*row.expected) : L"";
    const std::wstring withReferences = row.withReferences ? Wide(*row.withReferences) : L"";
    for (int htmlRefs : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << "htmlRefs " << htmlRefs);
      const Title title = row.video ? Video(htmlRefs) : Music(htmlRefs);
      EXPECT_EQ(title, Expected(row.expected ? expected.c_str() : nullptr,
                                row.withReferences ? withReferences.c_str() : nullptr,
                                htmlRefs != 0));
    }
  }
}

// On the ANSI path the title comes through the active code page: what it
// holds survives, the rest is replaced as the system's conversion does.
TEST(NowPlayingDll, AnsiPathDeliversWhatTheCodepageHolds) {
  if (NtFamily()) GTEST_SKIP() << "the wide window calls are used on the NT family";
  const struct {
    UINT codepage;
    const wchar_t* title;
    const wchar_t* expected;
  } rows[] = {
      {1252, L"Caf\xE9 \x65E5", L"Caf\xE9 ?"},
      {1251, L"\x041F\x0435\x0441\x043D\x044F \x65E5", L"\x041F\x0435\x0441\x043D\x044F ?"},
      {932, L"\x65E5\x672C\x306E\x6B4C \x041F", L"\x65E5\x672C\x306E\x6B4C \x041F"},
  };
  int checked = 0;
  for (const auto& row : rows) {
    if (row.codepage != GetACP()) continue;
    SCOPED_TRACE(row.codepage);
    const auto players = OpenPlayers({{kXmPlay, row.title}});
    EXPECT_EQ(Music(1), Title(row.expected));
    ++checked;
  }
  EXPECT_EQ(checked, 1) << "no row for code page " << GetACP();
}

// As in real life: the player is another program. Its window's title is
// read without any message to it; only the play-state query is sent.
TEST(NowPlayingDll, PlayerInAnotherProcess) {
  const std::wstring title = L"3. Remote Caf\xE9 - Winamp";
  {
    PlayerProcess player(kWinamp, title, 1, false);
    ASSERT_TRUE(player.ready());
    EXPECT_EQ(Music(0), Expected(L"Remote Caf\xE9", nullptr, false));
    EXPECT_EQ(Music(1), Expected(L"Remote Caf\xE9", L"Remote Caf&#233;", true));
    EXPECT_EQ(Video(1), std::nullopt);
  }
  PlayerProcess stopped(kWinamp, title, 0, false);
  ASSERT_TRUE(stopped.ready());
  EXPECT_EQ(Music(0), std::nullopt);
}

// A player whose window thread stops answering costs the host about a
// second, not its life; a query that got no answer means "not playing".
TEST(NowPlayingDll, HungPlayerDoesNotFreezeTheHost) {
  PlayerProcess hung(kWinamp, L"1. Frozen - Winamp", 1, true);
  ASSERT_TRUE(hung.ready());
  const auto foobar = OpenPlayers({{kFoobar, L"Other   [foobar2000]"}});
  const DWORD start = GetTickCount();
  EXPECT_EQ(Music(0), std::nullopt);
  const DWORD elapsed = GetTickCount() - start;
  RecordProperty("hung_query_ms", static_cast<int>(elapsed));
  EXPECT_LT(elapsed, 3000u);
}

}  // namespace
}  // namespace tms::dlltest
