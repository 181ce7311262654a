// A window manager made of a list of fake top-level windows (the desk
// windows of the shared now-playing rows), for driving the now-playing
// lookup without a real one. The ANSI calls convert through the code page it
// is given, as the system converts through the active one; the wide calls
// work on the NT family only, as on the Windows 95 family they are stubs
// that fail. It records the counts of the text reads and the time limit of
// the last message, so tests can check what the library asked.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/counting_memory.h"
#include "nowplaying/now_playing_cases.h"
#include "nowplaying/window_title.h"
#include "platform/codepage.h"
#include "platform/text.h"
#include "platform/window_manager.h"

namespace tms::testing {

// The play state of a Winamp whose thread is hung: its window never answers
// and the send times out.
inline constexpr intptr_t kHungPlayState = INTPTR_MIN;

class FakeWindowManager final : public platform::WindowManager {
 public:
  explicit FakeWindowManager(platform::Codepage& codepage,
                             uint32_t platformId = platform::kPlatformIdNt)
      : codepage_(codepage), platformId_(platformId) {}

  // Windows are found in the order they were added.
  WindowHandle Add(DeskWindow window) {
    windows_.push_back(std::move(window));
    return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(windows_.size()));
  }
  void SetPlatformId(uint32_t platformId) { platformId_ = platformId; }

  std::vector<int32_t> readCounts;  // the count passed to each text read
  uint32_t lastTimeoutMilliseconds = 0;

  uint32_t VersionPlatformId() override { return platformId_; }
  WindowHandle FindWindowWide(const WideChar* className, const WideChar* windowName) override {
    if (!WideCallsWork()) return nullptr;
    const std::u16string name = windowName == nullptr ? u"" : windowName;
    return Find(className, windowName == nullptr ? nullptr : &name);
  }
  WindowHandle FindWindowAnsi(const char* className, const char* windowName) override {
    const std::u16string name = windowName == nullptr ? u"" : FromAnsi(windowName);
    return Find(FromAnsi(className), windowName == nullptr ? nullptr : &name);
  }
  // A window of the caller's own process answers the length query itself
  // and may report anything.
  int32_t WindowTextLengthWide(WindowHandle handle) override {
    const DeskWindow* window = Lookup(handle);
    if (window == nullptr || !WideCallsWork()) return 0;
    return window->reportedLength != 0 ? window->reportedLength
                                       : static_cast<int32_t>(window->title.size());
  }
  int32_t WindowTextLengthAnsi(WindowHandle handle) override {
    const DeskWindow* window = Lookup(handle);
    if (window == nullptr) return 0;
    return window->reportedLength != 0 ? window->reportedLength
                                       : static_cast<int32_t>(ToAnsi(window->title).size());
  }
  int32_t WindowTextWide(WindowHandle handle, WideChar* buffer, int32_t count) override {
    readCounts.push_back(count);
    const DeskWindow* window = Lookup(handle);
    if (!WideCallsWork()) return 0;
    return WriteCut(window == nullptr ? std::u16string() : window->title, buffer, count);
  }
  int32_t WindowTextAnsi(WindowHandle handle, char* buffer, int32_t count) override {
    readCounts.push_back(count);
    const DeskWindow* window = Lookup(handle);
    return WriteCut(window == nullptr ? std::string() : ToAnsi(window->title), buffer, count);
  }
  // A player's window answers Winamp's play-state query (WM_USER, 0, 104)
  // with its play state, any other message with 0.
  bool SendMessageAbortIfHung(WindowHandle handle, uint32_t message, uintptr_t wParam,
                              intptr_t lParam, uint32_t timeoutMilliseconds,
                              uintptr_t* reply) override {
    lastTimeoutMilliseconds = timeoutMilliseconds;
    const DeskWindow* window = Lookup(handle);
    if (window == nullptr || window->playState == kHungPlayState) return false;
    const bool playStateQuery = message == 0x400 && wParam == 0 && lParam == 104;
    *reply = playStateQuery ? static_cast<uintptr_t>(window->playState) : 0;
    return true;
  }

  // A text converted as the ANSI calls convert it.
  std::string ToAnsi(const std::u16string& text) {
    const int32_t length = static_cast<int32_t>(text.size());
    const int32_t bytes = codepage_.WideToAnsi(text.data(), length, nullptr, 0);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    if (bytes > 0) codepage_.WideToAnsi(text.data(), length, &ansi[0], bytes);
    return ansi;
  }
  std::u16string FromAnsi(const char* text) {
    const int32_t length = TextLength(text);
    const int32_t units = codepage_.AnsiToWide(text, length, nullptr, 0);
    std::u16string wide(static_cast<size_t>(units), u'\0');
    if (units > 0) codepage_.AnsiToWide(text, length, &wide[0], units);
    return wide;
  }

 private:
  bool WideCallsWork() const { return platformId_ == platform::kPlatformIdNt; }

  const DeskWindow* Lookup(WindowHandle window) const {
    const auto index = reinterpret_cast<uintptr_t>(window);
    if (index == 0 || index > windows_.size()) return nullptr;
    return &windows_[index - 1];
  }

  WindowHandle Find(const std::u16string& className, const std::u16string* windowName) const {
    for (size_t i = 0; i < windows_.size(); ++i) {
      if (windows_[i].windowClass != className) continue;
      if (windowName != nullptr && windows_[i].title != *windowName) continue;
      return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(i + 1));
    }
    return nullptr;
  }

  // What the system's text calls do: the text cut to count - 1 units and a
  // terminator; nothing for a count without room. The library must never
  // hand the system a missing buffer.
  template <typename Unit>
  static int32_t WriteCut(const std::basic_string<Unit>& text, Unit* buffer, int32_t count) {
    if (buffer == nullptr) ADD_FAILURE() << "a title was read into a missing buffer";
    if (buffer == nullptr || count <= 0) return 0;
    const auto written = std::min<int32_t>(static_cast<int32_t>(text.size()), count - 1);
    CopyUnits(buffer, text.data(), static_cast<size_t>(written));
    buffer[written] = 0;
    return written;
  }

  platform::Codepage& codepage_;
  uint32_t platformId_;
  std::vector<DeskWindow> windows_;
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
