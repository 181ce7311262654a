// Real settings files for tests: a fresh temporary folder that is removed
// with all its content, whole-file reads and writes, and the lines the
// colour picker stores.
#pragma once

#include <stdint.h>

#include <initializer_list>
#include <string>

namespace tms::testing {

// The system's folder separator.
#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, without a trailing separator.
  const std::string& path() const { return path_; }
  // The path of `name` inside the folder.
  std::string Join(const std::string& name) const { return path_ + kPathSeparator + name; }

 private:
  std::string path_;
};

bool FileExists(const std::string& path);
// The file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
void MakeFolder(const std::string& path);
// Takes write permission away (the read-only attribute on Windows), or gives it back.
void SetReadOnly(const std::string& path, bool readOnly);

// "Color i=0x........\r\n" for each index, all with the same colour.
std::string ColorLines(std::initializer_list<int> indexes, uint32_t color = 0);

}  // namespace tms::testing
