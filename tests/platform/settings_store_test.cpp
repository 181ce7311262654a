// The system's settings store: the executable's path and the path rules,
// which on Windows step over double-byte characters whose second byte is a
// backslash (code page 932).
#include "platform/settings_store.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "fakes/settings_files.h"

#if defined(_WIN32)
#include <windows.h>
// A macro of windows.h would rename the store's method at the call only.
#undef WriteProfileString
#endif

namespace tms::platform {
namespace {

#if defined(_WIN32)
constexpr char kProgramName[] = "tms_unit_tests.exe";
#else
constexpr char kProgramName[] = "tms_unit_tests";
#endif

TEST(SettingsStore, ExecutablePathIsThisProgramOrReportedAsNotFitting) {
  SettingsStore& store = SystemSettingsStore();
  char path[1024];
  const uint32_t length = store.ExecutablePath(path, sizeof path);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, sizeof path);
  EXPECT_EQ(strlen(path), length);
  EXPECT_STREQ(store.FindFileName(path), kProgramName);
  char small[4];
  EXPECT_EQ(store.ExecutablePath(small, sizeof small), sizeof small);
}

TEST(SettingsStore, PathRulesFindTheFileNameAndAddOneSeparator) {
  const struct {
    const char* path;
    const char* fileName;
    const char* withSeparator;
    bool doubleByteOnly;
  } rows[] = {
#if defined(_WIN32)
      {"C:\\dir\\host.exe", "host.exe", "C:\\dir\\host.exe\\", false},
      {"C:\\dir\\", "dir\\", "C:\\dir\\", false},
      {"host", "host", "host\\", false},
      // 0x95 0x5C is one character in code page 932.
      {"C:\\dir\\a\x95\x5C.exe", "a\x95\x5C.exe", "C:\\dir\\a\x95\x5C.exe\\", true},
      {"C:\\\x95\x5C", "\x95\x5C", "C:\\\x95\x5C\\", true},
#else
      {"/a/b/host", "host", "/a/b/host/", false},
      {"/a/b/", "", "/a/b/", false},
      {"host", "host", "host/", false},
#endif
      {"", "", "", false},
  };
#if defined(_WIN32)
  const bool doubleByte = GetACP() == 932;
#else
  const bool doubleByte = false;
#endif
  SettingsStore& store = SystemSettingsStore();
  for (const auto& row : rows) {
    if (row.doubleByteOnly && !doubleByte) continue;
    SCOPED_TRACE(row.path);
    EXPECT_STREQ(store.FindFileName(row.path), row.fileName);
    char path[64];
    strcpy(path, row.path);
    store.AddSeparator(path);
    EXPECT_STREQ(path, row.withSeparator);
  }
}

// A write reports whether it reached the file, on every system alike.
TEST(SettingsStore, WritesSayWhetherTheFileWasWritten) {
  testing::TempFolder folder;
  const struct {
    const char* name;
    std::string file;
    bool written;
  } rows[] = {{"new file", folder.Join("s.ini"), true},
              {"file in a missing folder",
               folder.Join("missing") + testing::kPathSeparator + "s.ini", false}};
  SettingsStore& store = SystemSettingsStore();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(store.WriteProfileString(row.file.c_str(), "S", "k", "1"), row.written);
    char value[4] = "x";
    store.ReadProfileString(row.file.c_str(), "S", "k", value, sizeof value);
    EXPECT_STREQ(value, row.written ? "1" : "");
  }
}

}  // namespace
}  // namespace tms::platform
