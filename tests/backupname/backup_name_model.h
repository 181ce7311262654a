// A byte-by-byte model of flattened names and backup paths, for the tests
// that check the library against it with many inputs.
#pragma once

#include <string>

namespace tms::testing {

inline std::string FlattenModel(std::string text) {
  for (char& byte : text) {
    if (byte == ':' || byte == '\\') byte = '~';
  }
  return text;
}

inline std::string BackupPathModel(const std::string& folder, const std::string& source) {
  std::string path = folder;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + FlattenModel(source);
}

}  // namespace tms::testing
