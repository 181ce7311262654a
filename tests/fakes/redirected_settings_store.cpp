// The redirected settings store.
#include "fakes/redirected_settings_store.h"

#include <string.h>

namespace tms::testing {

uint32_t RedirectedSettingsStore::ExecutablePath(char* path, uint32_t capacity) {
  if (executablePath_.size() >= capacity) {
    // As the system does: cut off, without a terminator.
    memcpy(path, executablePath_.data(), capacity);
    return capacity;
  }
  memcpy(path, executablePath_.c_str(), executablePath_.size() + 1);
  return static_cast<uint32_t>(executablePath_.size());
}

uint32_t RedirectedSettingsStore::ReadProfileString(const char* file, const char* section,
                                                    const char* key, char* value,
                                                    uint32_t capacity) {
  ++reads_;
  return system_.ReadProfileString(file, section, key, value, capacity);
}

bool RedirectedSettingsStore::WriteProfileString(const char* file, const char* section,
                                                 const char* key, const char* value) {
  ++writes_;
  return system_.WriteProfileString(file, section, key, value);
}

}  // namespace tms::testing
