// The settings file beside the host's executable: where the executable is,
// how a path splits into folder and file name, and one value of an INI file
// read or written at a time.
#pragma once

#include "platform/types.h"

namespace tms::platform {

class SettingsStore {
 public:
  // Writes the full path of the current process's executable file, with its
  // terminator, into `path` and returns its length. Returns 0 when the path
  // cannot be had, and `capacity` or more when it does not fit (the buffer
  // then holds no usable text).
  virtual uint32_t ExecutablePath(char* path, uint32_t capacity) = 0;
  // Where the last component of `path` (the file name) begins, inside `path`.
  virtual const char* FindFileName(const char* path) = 0;
  // Appends the folder separator unless `path` is empty or already ends with
  // one; the buffer must have room for one more byte.
  virtual void AddSeparator(char* path) = 0;

  // Copies the value of `key` in `section` of the INI file `file` into
  // `value` (at most capacity - 1 bytes and a terminator) and returns the
  // bytes copied. Section and key names are compared without regard to
  // case; the first match wins; blanks around the value and one pair of
  // enclosing quotes are dropped. A missing file, section or key gives the
  // empty text.
  virtual uint32_t ReadProfileString(const char* file, const char* section, const char* key,
                                     char* value, uint32_t capacity) = 0;
  // Sets `key` in `section` of the INI file `file` to `value`, creating the
  // file, the section and the key as needed and leaving the rest of the
  // file as it was. False when the file cannot be written.
  virtual bool WriteProfileString(const char* file, const char* section, const char* key,
                                  const char* value) = 0;

 protected:
  ~SettingsStore() = default;
};

// The system's executable path, path rules and profile files.
SettingsStore& SystemSettingsStore();

}  // namespace tms::platform
