// A SettingsStore with the system's path rules and profile files that
// reports a chosen executable path, so that the settings file lands in a
// test's own folder, and counts the profile calls that reach the system.
#pragma once

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

  uint32_t ExecutablePath(char* path, uint32_t capacity) override;
  const char* FindFileName(const char* path) override { return system_.FindFileName(path); }
  void AddSeparator(char* path) override { system_.AddSeparator(path); }
  uint32_t ReadProfileString(const char* file, const char* section, const char* key, char* value,
                             uint32_t capacity) override;
  bool WriteProfileString(const char* file, const char* section, const char* key,
                          const char* value) override;

 private:
  std::string executablePath_;
  platform::SettingsStore& system_;
  int reads_ = 0;
  int writes_ = 0;
};

}  // namespace tms::testing
