// The fake window list behind the now-playing tests.
#include "fakes/fake_window_manager.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text.h"

namespace tms::testing {
namespace {

// Window classes are matched without regard to ASCII case, as the system
// matches them.
bool SameClass(const std::u16string& a, const std::u16string& b) {
  auto fold = [](char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
  };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

// What the system's text calls do: the text cut to count - 1 units and a
// terminator; nothing for a count without room. The library must never hand
// the system a missing buffer.
template <typename Unit>
int32_t WriteCut(const std::basic_string<Unit>& text, Unit* buffer, int32_t count) {
  if (buffer == nullptr) ADD_FAILURE() << "a title was read into a missing buffer";
  if (buffer == nullptr || count <= 0) return 0;
  const auto written = std::min<int32_t>(static_cast<int32_t>(text.size()), count - 1);
  CopyUnits(buffer, text.data(), static_cast<size_t>(written));
  buffer[written] = 0;
  return written;
}

}  // namespace

WindowHandle FakeWindowManager::Add(FakeWindow window) {
  windows_.push_back(std::move(window));
  return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(windows_.size()));
}

WindowHandle FakeWindowManager::Add(std::u16string windowClass, std::u16string title) {
  FakeWindow window;
  window.windowClass = std::move(windowClass);
  window.title = std::move(title);
  return Add(std::move(window));
}

FakeWindow* FakeWindowManager::Lookup(WindowHandle window) {
  const auto index = reinterpret_cast<uintptr_t>(window);
  if (index == 0 || index > windows_.size()) return nullptr;
  return &windows_[index - 1];
}

WindowHandle FakeWindowManager::Find(const std::u16string& className,
                                     const std::u16string* windowName) {
  for (size_t i = 0; i < windows_.size(); ++i) {
    if (!SameClass(windows_[i].windowClass, className)) continue;
    if (windowName != nullptr && windows_[i].title != *windowName) continue;
    return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(i + 1));
  }
  return nullptr;
}

std::string FakeWindowManager::ToAnsi(const std::u16string& text) {
  const int32_t length = static_cast<int32_t>(text.size());
  const int32_t bytes = codepage_.WideToAnsi(text.data(), length, nullptr, 0);
  std::string ansi(static_cast<size_t>(bytes), '\0');
  if (bytes > 0) codepage_.WideToAnsi(text.data(), length, &ansi[0], bytes);
  return ansi;
}

std::u16string FakeWindowManager::FromAnsi(const char* text) {
  const int32_t length = TextLength(text);
  const int32_t units = codepage_.AnsiToWide(text, length, nullptr, 0);
  std::u16string wide(static_cast<size_t>(units), u'\0');
  if (units > 0) codepage_.AnsiToWide(text, length, &wide[0], units);
  return wide;
}

void FakeWindowManager::Measured(FakeWindow& window) {
  if (window.titleAfterMeasure) window.title = *window.titleAfterMeasure;
}

uint32_t FakeWindowManager::VersionPlatformId() {
  ++versionQueries;
  return platformId_;
}

WindowHandle FakeWindowManager::FindWindowWide(const WideChar* className,
                                               const WideChar* windowName) {
  const std::u16string name = windowName == nullptr ? u"" : windowName;
  finds.push_back({false, className == nullptr ? u"" : className, windowName == nullptr, name});
  return Find(finds.back().className, windowName == nullptr ? nullptr : &name);
}

WindowHandle FakeWindowManager::FindWindowAnsi(const char* className, const char* windowName) {
  const std::u16string name = windowName == nullptr ? u"" : FromAnsi(windowName);
  finds.push_back({true, FromAnsi(className), windowName == nullptr, name});
  return Find(finds.back().className, windowName == nullptr ? nullptr : &name);
}

int32_t FakeWindowManager::WindowTextLengthWide(WindowHandle handle) {
  ++wideCalls;
  FakeWindow* window = Lookup(handle);
  if (window == nullptr) return 0;
  const auto length = window->reportedLength.value_or(static_cast<int32_t>(window->title.size()));
  Measured(*window);
  return length;
}

int32_t FakeWindowManager::WindowTextLengthAnsi(WindowHandle handle) {
  ++ansiCalls;
  FakeWindow* window = Lookup(handle);
  if (window == nullptr) return 0;
  const auto length =
      window->reportedLength.value_or(static_cast<int32_t>(ToAnsi(window->title).size()));
  Measured(*window);
  return length;
}

int32_t FakeWindowManager::WindowTextWide(WindowHandle handle, WideChar* buffer, int32_t count) {
  ++wideCalls;
  readCounts.push_back(count);
  FakeWindow* window = Lookup(handle);
  return WriteCut(window == nullptr ? std::u16string() : window->title, buffer, count);
}

int32_t FakeWindowManager::WindowTextAnsi(WindowHandle handle, char* buffer, int32_t count) {
  ++ansiCalls;
  readCounts.push_back(count);
  FakeWindow* window = Lookup(handle);
  return WriteCut(window == nullptr ? std::string() : ToAnsi(window->title), buffer, count);
}

bool FakeWindowManager::SendMessageAbortIfHung(WindowHandle handle, uint32_t message,
                                               uintptr_t wParam, intptr_t lParam,
                                               uint32_t timeoutMilliseconds, uintptr_t* reply) {
  sent.push_back({handle, message, wParam, lParam, timeoutMilliseconds});
  FakeWindow* window = Lookup(handle);
  if (window == nullptr || !window->reply) return false;
  *reply = *window->reply;
  return true;
}

}  // namespace tms::testing
