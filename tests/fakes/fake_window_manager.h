// A window manager made of a list of fake top-level windows, for driving the
// now-playing lookup without a real one. The ANSI calls convert through the
// code page it is given, as the system converts through the active one. It
// records what the library asked, so tests can check which calls were made
// and with which arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "fakes/counting_memory.h"
#include "nowplaying/window_title.h"
#include "platform/codepage.h"
#include "platform/window_manager.h"

namespace tms::testing {

struct FakeWindow {
  std::u16string windowClass;
  std::u16string title;
  // The answer to any message sent to the window; no answer means that the
  // window's thread is hung and the send times out.
  std::optional<uintptr_t> reply = 0;
  // A player that moves on between the two calls: once the title has been
  // measured it becomes this.
  std::optional<std::u16string> titleAfterMeasure;
  // A window of the caller's own process answers the length query itself
  // and may report anything.
  std::optional<int32_t> reportedLength;
};

class FakeWindowManager final : public platform::WindowManager {
 public:
  explicit FakeWindowManager(platform::Codepage& codepage,
                             uint32_t platformId = platform::kPlatformIdNt)
      : codepage_(codepage), platformId_(platformId) {}

  // Windows are found in the order they were added.
  WindowHandle Add(FakeWindow window);
  WindowHandle Add(std::u16string windowClass, std::u16string title);
  void SetPlatformId(uint32_t platformId) { platformId_ = platformId; }

  struct FindCall {
    bool ansi;
    std::u16string className;  // as received, ANSI calls converted back
    bool nameIsNull;
    std::u16string windowName;
  };
  struct SentMessage {
    WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    uint32_t timeoutMilliseconds;
  };
  int versionQueries = 0;
  int wideCalls = 0;  // length and text calls, wide form
  int ansiCalls = 0;  // length and text calls, ANSI form
  std::vector<FindCall> finds;
  std::vector<int32_t> readCounts;  // the count passed to each text read
  std::vector<SentMessage> sent;

  uint32_t VersionPlatformId() override;
  WindowHandle FindWindowWide(const WideChar* className, const WideChar* windowName) override;
  WindowHandle FindWindowAnsi(const char* className, const char* windowName) override;
  int32_t WindowTextLengthWide(WindowHandle window) override;
  int32_t WindowTextLengthAnsi(WindowHandle window) override;
  int32_t WindowTextWide(WindowHandle window, WideChar* buffer, int32_t count) override;
  int32_t WindowTextAnsi(WindowHandle window, char* buffer, int32_t count) override;
  bool SendMessageAbortIfHung(WindowHandle window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam, uint32_t timeoutMilliseconds,
                              uintptr_t* reply) override;

  // A text converted as the ANSI calls convert it.
  std::string ToAnsi(const std::u16string& text);
  std::u16string FromAnsi(const char* text);

 private:
  FakeWindow* Lookup(WindowHandle window);
  WindowHandle Find(const std::u16string& className, const std::u16string* windowName);
  void Measured(FakeWindow& window);

  platform::Codepage& codepage_;
  uint32_t platformId_;
  std::vector<FakeWindow> windows_;
};

// The services of the now-playing lookup over a fake window list and
// counting memory.
struct FakeNowPlaying {
  FakeNowPlaying(platform::Codepage& codepage, uint32_t platformId)
      : windows(codepage, platformId), services{windows, memory, codepage} {}

  CountingMemory memory;
  FakeWindowManager windows;
  NowPlayingServices services;
};

}  // namespace tms::testing
