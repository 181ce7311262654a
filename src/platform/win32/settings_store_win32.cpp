// Win32 settings file access: the module path, the shell's path rules (which
// step over double-byte characters whose second byte looks like a
// backslash) and the private profile functions.
#include <windows.h>
// After windows.h, whose types it needs.
#include <shlwapi.h>

#include "platform/settings_store.h"

namespace tms::platform {
namespace {

class Win32SettingsStore final : public SettingsStore {
 public:
  constexpr Win32SettingsStore() = default;

  // A path that does not fit comes back as `capacity` (with or without a
  // terminator, depending on the Windows version).
  uint32_t ExecutablePath(char* path, uint32_t capacity) override {
    return GetModuleFileNameA(nullptr, path, capacity);
  }
  const char* FindFileName(const char* path) override { return PathFindFileNameA(path); }
  void AddSeparator(char* path) override { PathAddBackslashA(path); }

  uint32_t ReadProfileString(const char* file, const char* section, const char* key, char* value,
                             uint32_t capacity) override {
    return GetPrivateProfileStringA(section, key, "", value, capacity, file);
  }
  bool WriteProfileString(const char* file, const char* section, const char* key,
                          const char* value) override {
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
  }
};

// Stateless, so it lives in read-only memory; the DLL has no writable data.
constexpr Win32SettingsStore systemSettingsStore;

}  // namespace

SettingsStore& SystemSettingsStore() {
  return const_cast<Win32SettingsStore&>(systemSettingsStore);
}

}  // namespace tms::platform
