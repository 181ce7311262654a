// Real settings files for tests.
#include "fakes/settings_files.h"

#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tms::testing {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
  // Several test programs run at once: the folder made is the one claimed.
  static int made = 0;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    const fs::path candidate = base / ("tms_test_" + std::to_string(++made));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      break;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

void MakeFolder(const std::string& path) {
  fs::create_directory(path);
}

void SetReadOnly(const std::string& path, bool readOnly) {
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(path, readOnly ? write : fs::perms::owner_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

std::string ColorLines(std::initializer_list<int> indexes, uint32_t color) {
  std::string lines;
  for (int index : indexes) {
    char line[32];
    snprintf(line, sizeof line, "Color %d=0x%08X\r\n", index, static_cast<unsigned>(color));
    lines += line;
  }
  return lines;
}

}  // namespace tms::testing
