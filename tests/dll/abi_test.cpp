// What a host or a PE tool sees of the DLL: file and export-directory name,
// exports by name and ordinal, stack cleanup (x86), pointers above 4 GiB
// (x64), the entry point, DllGetVersion and tmsFreeBSTR.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

// clang-format off
#include "dll/dll_harness.h"  // windows.h, which oleauto.h needs first
#include <oleauto.h>
// clang-format on

namespace tms::dlltest {
namespace {

const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
}

const IMAGE_EXPORT_DIRECTORY* ExportDirectory(HMODULE module) {
  const IMAGE_DATA_DIRECTORY& entry =
      NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(reinterpret_cast<const BYTE*>(module) +
                                                         entry.VirtualAddress);
}

TEST(DllAbi, LoadsUnderItsExactFileAndExportName) {
  ASSERT_NE(Library(), nullptr);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(Library(), path, MAX_PATH);
  const char* fileName = strrchr(path, '\\') != nullptr ? strrchr(path, '\\') + 1 : path;
  EXPECT_STREQ(fileName, "TolvaricModeSupport.DLL");
  const auto* exports = ExportDirectory(Library());
  EXPECT_STREQ(reinterpret_cast<const char*>(Library()) + exports->Name, "TolvaricModeSupport.DLL");
}

// Each export is found by name and by its ordinal, and (x86) removes its
// own arguments from the stack when called with harmless ones: a stdcall
// function removes the same bytes on every way out, so one call shows it.
TEST(DllAbi, ExportsEachNameUnderItsOrdinalAndRemovesItsOwnArguments) {
  ASSERT_NE(Library(), nullptr);
  DWORD version[5] = {20, 0, 0, 0, 0};
  char ansi[8] = {};
  SYSTEMTIME date = {2000, 7, 0, 28, 0, 0, 0, 0};
  char path[16] = {};
  char osName[182] = {};
  constexpr uint32_t kAny = 0xFFFFFFFF;
  // Ordinals follow the alphabetical order of all thirteen names; each export
  // keeps its number whether or not its neighbours exist yet.
  const struct {
    const char* name;
    WORD ordinal;
    std::vector<Word> args;
    uint32_t stackBytes;
    uint32_t result;  // kAny: not checked here
  } rows[] = {
      {"DllGetVersion", 1, {Arg(version)}, 4, 0},
      {"tmsCopyString", 2, {Arg(L"abc"), Arg(ansi)}, 8, kAny},
      {"tmsFreeBSTR", 3, {Arg(SysAllocString(L"abc"))}, 4, kAny},
      {"tmsGetCurrentMusic", 4, {1}, 4, kAny},
      {"tmsGetCurrentVideo", 5, {1}, 4, kAny},
      {"tmsGetDayNum", 6, {}, 0, kAny},
      {"tmsGetDayNumEx", 7, {Arg(&date)}, 4, kAny},
      {"tmsGetHTMLColor", 8, {0, 0}, 8, 0},  // null result: no dialog shown
      {"tmsGetHostOSName", 9, {Arg(osName), 0, 1}, 12, kAny},
      {"tmsGetHostOSNameShort", 10, {Arg(osName)}, 4, kAny},
      {"tmsGetPathForBackup", 11, {Arg("D:"), Arg("a"), Arg(path), 16}, 16, kAny},
      {"tmsGetStringLength", 12, {Arg(L"abcd")}, 4, 4},
      {"tmsModifyOriginalFileName", 13, {Arg("C:"), Arg(path), 16}, 12, kAny},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FARPROC byName = GetProcAddress(Library(), row.name);
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(byName, GetProcAddress(Library(), MAKEINTRESOURCEA(row.ordinal)));
    const StackCall call = CallExport(row.name, row.args);
    if (kMeasuresStack) {
      EXPECT_EQ(call.bytesRemoved, row.stackBytes);
    }
    if (row.result != kAny) {
      EXPECT_EQ(call.result, row.result);
    }
  }
  const auto* exports = ExportDirectory(Library());
  EXPECT_EQ(exports->Base, 1u);
  EXPECT_EQ(exports->NumberOfNames, sizeof rows / sizeof rows[0]);
}

// A 64-bit DLL must carry every pointer whole: buffers placed above 4 GiB
// catch an address cut to 32 bits anywhere on the way.
TEST(DllAbi, PointersAboveFourGigabytesArriveWhole) {
  if (sizeof(void*) == 4) GTEST_SKIP() << "32-bit addresses";
  auto* high = static_cast<char*>(
      VirtualAlloc(nullptr, 65536, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
  ASSERT_NE(high, nullptr);
  ASSERT_GT(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(high)) >> 32, 0u)
      << "no memory above 4 GiB";
  char* source = high;
  char* destination = high + 4096;
  auto* wide = reinterpret_cast<WCHAR*>(high + 8192);
  auto* date = reinterpret_cast<SYSTEMTIME*>(high + 12288);
  strcpy(source, "C:\\a");
  memcpy(wide, L"wide", sizeof L"wide");
  *date = {2000, 7, 0, 28, 9, 0, 0, 0};

  EXPECT_EQ(CallExport("tmsModifyOriginalFileName", {Arg(source), Arg(destination), 64}).result,
            1u);
  EXPECT_STREQ(destination, "C~~a");
  EXPECT_EQ(
      CallExport("tmsGetPathForBackup", {Arg(source), Arg(source), Arg(destination), 64}).result,
      1u);
  EXPECT_STREQ(destination, "C:\\a\\C~~a");
  EXPECT_EQ(CallExport("tmsGetStringLength", {Arg(wide)}).result, 4u);
  CallExport("tmsCopyString", {Arg(wide), Arg(destination)});
  EXPECT_STREQ(destination, "wide");
  EXPECT_EQ(CallExport("tmsGetDayNumEx", {Arg(date)}).result, 2u);
  EXPECT_EQ(date->wHour, 0);
  EXPECT_EQ(CallExport("tmsGetHostOSNameShort", {Arg(destination)}).result, 1u);
  EXPECT_EQ(strncmp(destination, "Win", 3), 0) << destination;
  VirtualFree(high, 0, MEM_RELEASE);
}

TEST(DllAbi, DllGetVersionFillsOnlyTheTwentyByteRecord) {
  constexpr auto kInvalid = static_cast<uint32_t>(E_INVALIDARG);
  constexpr DWORD kSentinel = 0xCCCCCCCC;
  const struct {
    DWORD cbSize;
    uint32_t expected;
  } rows[] = {{20, S_OK}, {32, kInvalid}, {0, kInvalid}, {19, kInvalid}, {24, kInvalid}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.cbSize);
    DWORD record[8];
    memset(record, 0xCC, sizeof record);
    record[0] = row.cbSize;
    EXPECT_EQ(CallExport("DllGetVersion", {Arg(record)}).result, row.expected);
    // Version 1.0, build 10, platform 1 after the size, and nothing beyond;
    // a refused record is left as it was.
    const DWORD filled[8] = {row.cbSize, 1, 0, 10, 1, kSentinel, kSentinel, kSentinel};
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(record[i], i == 0 || row.expected == S_OK ? filled[i] : kSentinel) << i;
    }
  }
  EXPECT_EQ(CallExport("DllGetVersion", {0}).result, kInvalid);
}

// The entry point answers TRUE to thread notifications. Threads started and
// ended while the library is loaded are the eight of the concurrency test;
// process attach and detach are the 2,000 load and unload cycles.
TEST(DllAbi, EntryPointAnswersTrueToEveryNotification) {
  ASSERT_NE(Library(), nullptr);
  using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
  auto entry =
      reinterpret_cast<EntryPoint>(reinterpret_cast<BYTE*>(Library()) +
                                   NtHeaders(Library())->OptionalHeader.AddressOfEntryPoint);
  EXPECT_EQ(entry(Library(), DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_EQ(entry(Library(), DLL_THREAD_DETACH, nullptr), TRUE);
}

// Releasing null does nothing, and a BSTR with an inner zero goes whole.
// (The string services' rows run through the exports in the stress tests.)
TEST(DllAbi, FreeBstrReleasesNullAndWholeStrings) {
  EXPECT_EQ(CallExport("tmsFreeBSTR", {0}).bytesRemoved, kMeasuresStack ? 4u : 0u);
  CallExport("tmsFreeBSTR", {Arg(SysAllocStringLen(L"abc\0def", 7))});
}

}  // namespace
}  // namespace tms::dlltest
