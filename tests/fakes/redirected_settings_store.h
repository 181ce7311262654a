// A SettingsStore with the system's path rules and profile files that
// reports a chosen executable path, so that the settings file lands in a
// test's own folder, and counts the profile calls that reach the system.
#pragma once

#include <string.h>

#include <string>
#include <utility>

#include "platform/settings_store.h"

namespace tms::testing {

class RedirectedSettingsStore final : public platform::SettingsStore {
 public:
  // A path longer than the caller's buffer is reported as not fitting;
  // an empty one as a path that cannot be had.
  explicit RedirectedSettingsStore(std::string executablePath)
      : executablePath_(std::move(executablePath)), system_(platform::SystemSettingsStore()) {}

  int reads() const { return reads_; }
  int writes() const { return writes_; }

  uint32_t ExecutablePath(char* path, uint32_t capacity) override {
    // A path too long is cut off without a terminator, as the system does.
    const uint32_t length = static_cast<uint32_t>(executablePath_.size());
    memcpy(path, executablePath_.c_str(), length < capacity ? length + 1 : capacity);
    return length < capacity ? length : capacity;
  }
  const char* FindFileName(const char* path) override { return system_.FindFileName(path); }
  void AddSeparator(char* path) override { system_.AddSeparator(path); }
  uint32_t ReadProfileString(const char* file, const char* section, const char* key, char* value,
                             uint32_t capacity) override {
    ++reads_;
    return system_.ReadProfileString(file, section, key, value, capacity);
  }
  bool WriteProfileString(const char* file, const char* section, const char* key,
                          const char* value) override {
    ++writes_;
    return system_.WriteProfileString(file, section, key, value);
  }

 private:
  std::string executablePath_;
  platform::SettingsStore& system_;
  int reads_ = 0;
  int writes_ = 0;
};

}  // namespace tms::testing
