// What a host or a PE tool sees of the DLL: file and export-directory name,
// exports by name and ordinal, stack cleanup (x86), pointers above 4 GiB
// (x64), the entry point, DllGetVersion, and the string services' rows.
// windows.h comes first (through the harness): oleauto.h needs its types.
#include "dll/dll_harness.h"

#include <gtest/gtest.h>
#include <oleauto.h>
#include <string.h>

#include "strings/string_services_cases.h"

namespace tms::dlltest {
namespace {

struct ExportRow {
  const char* name;
  WORD ordinal;
};

// Ordinals follow the alphabetical order of all thirteen names; each export
// keeps its number whether or not its neighbours exist yet.
const ExportRow kExports[] = {
    {"DllGetVersion", 1},
    {"tmsCopyString", 2},
    {"tmsFreeBSTR", 3},
    {"tmsGetCurrentMusic", 4},
    {"tmsGetCurrentVideo", 5},
    {"tmsGetDayNum", 6},
    {"tmsGetDayNumEx", 7},
    {"tmsGetHTMLColor", 8},
    {"tmsGetHostOSName", 9},
    {"tmsGetHostOSNameShort", 10},
    {"tmsGetPathForBackup", 11},
    {"tmsGetStringLength", 12},
    {"tmsModifyOriginalFileName", 13},
};

DWORD WINAPI DoNothing(LPVOID) { return 0; }

const IMAGE_EXPORT_DIRECTORY* ExportDirectory(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
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

TEST(DllAbi, ExportsEachNameUnderItsOrdinalAndNothingElse) {
  ASSERT_NE(Library(), nullptr);
  for (const ExportRow& row : kExports) {
    SCOPED_TRACE(row.name);
    FARPROC byName = GetProcAddress(Library(), row.name);
    FARPROC byOrdinal = GetProcAddress(Library(), MAKEINTRESOURCEA(row.ordinal));
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(byName, byOrdinal);
  }
  const auto* exports = ExportDirectory(Library());
  EXPECT_EQ(exports->Base, 1u);
  EXPECT_EQ(exports->NumberOfNames, sizeof kExports / sizeof kExports[0]);
}

TEST(DllAbi, EveryExportRemovesItsOwnArguments) {
  DWORD version[5] = {20, 0, 0, 0, 0};
  char ansi[8] = {};
  BSTR bstr = SysAllocString(L"abc");
  SYSTEMTIME date = {2000, 7, 0, 28, 0, 0, 0, 0};
  char path[16] = {};
  char osName[182] = {};
  const struct {
    const char* name;
    StackCall call;
    uint32_t bytes;
  } rows[] = {
      {"DllGetVersion", CallExport("DllGetVersion", {Arg(version)}), 4},
      {"tmsCopyString", CallExport("tmsCopyString", {Arg(L"abc"), Arg(ansi)}), 8},
      {"tmsFreeBSTR", CallExport("tmsFreeBSTR", {Arg(bstr)}), 4},
      {"tmsGetStringLength", CallExport("tmsGetStringLength", {Arg(L"abcd")}), 4},
      {"tmsGetDayNum", CallExport("tmsGetDayNum", {}), 0},
      {"tmsGetDayNumEx", CallExport("tmsGetDayNumEx", {Arg(&date)}), 4},
      {"tmsGetPathForBackup",
       CallExport("tmsGetPathForBackup", {Arg("D:"), Arg("a"), Arg(path), 16}), 16},
      {"tmsModifyOriginalFileName",
       CallExport("tmsModifyOriginalFileName", {Arg("C:"), Arg(path), 16}), 12},
      {"tmsGetHostOSName", CallExport("tmsGetHostOSName", {Arg(osName), 0, 1}), 12},
      {"tmsGetHostOSNameShort", CallExport("tmsGetHostOSNameShort", {Arg(osName)}), 4},
      {"tmsGetHTMLColor", CallExport("tmsGetHTMLColor", {0, 0}), 8},  // null result: no dialog
      {"tmsGetCurrentMusic", CallExport("tmsGetCurrentMusic", {1}), 4},
      {"tmsGetCurrentVideo", CallExport("tmsGetCurrentVideo", {1}), 4},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (kMeasuresStack) {
      EXPECT_EQ(row.call.bytesRemoved, row.bytes);
    }
  }
  EXPECT_EQ(rows[0].call.result, 0u);
  EXPECT_STREQ(ansi, "abc");
  EXPECT_EQ(rows[3].call.result, 4u);
  EXPECT_EQ(rows[10].call.result, 0u);  // tmsGetHTMLColor, having shown no dialog
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

  EXPECT_EQ(CallExport("tmsModifyOriginalFileName", {Arg(source), Arg(destination), 64}).result, 1u);
  EXPECT_STREQ(destination, "C~~a");
  EXPECT_EQ(CallExport("tmsGetPathForBackup", {Arg(source), Arg(source), Arg(destination), 64}).result,
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
  const struct {
    DWORD cbSize;
    uint32_t expected;
  } rows[] = {{20, S_OK}, {32, static_cast<uint32_t>(E_INVALIDARG)}, {0, static_cast<uint32_t>(E_INVALIDARG)},
              {19, static_cast<uint32_t>(E_INVALIDARG)}, {24, static_cast<uint32_t>(E_INVALIDARG)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.cbSize);
    DWORD record[8];
    memset(record, 0xCC, sizeof record);
    record[0] = row.cbSize;
    const StackCall call = CallExport("DllGetVersion", {Arg(record)});
    EXPECT_EQ(call.result, row.expected);
    EXPECT_EQ(record[0], row.cbSize);
    if (row.expected == S_OK) {
      EXPECT_EQ(record[1], 1u);
      EXPECT_EQ(record[2], 0u);
      EXPECT_EQ(record[3], 10u);
      EXPECT_EQ(record[4], 1u);
    } else {
      for (int i = 1; i < 8; ++i) EXPECT_EQ(record[i], 0xCCCCCCCCu) << i;
    }
    for (int i = 5; i < 8; ++i) EXPECT_EQ(record[i], 0xCCCCCCCCu) << i;
  }
  EXPECT_EQ(CallExport("DllGetVersion", {0}).result, static_cast<uint32_t>(E_INVALIDARG));
}

// The entry point answers TRUE to thread notifications (called directly, and
// a thread started and ended while the library is loaded). Process attach
// and detach are the 2,000 load and unload cycles of the stress tests.
TEST(DllAbi, EntryPointAnswersTrueToEveryNotification) {
  ASSERT_NE(Library(), nullptr);
  const auto* base = reinterpret_cast<const BYTE*>(Library());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  using EntryPoint = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);
  auto entry = reinterpret_cast<EntryPoint>(const_cast<BYTE*>(base) +
                                            nt->OptionalHeader.AddressOfEntryPoint);
  EXPECT_EQ(entry(Library(), DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_EQ(entry(Library(), DLL_THREAD_DETACH, nullptr), TRUE);

  // A thread started and ended while the library is loaded.
  HANDLE thread = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  CloseHandle(thread);
}

// The rows the unit tests of the string services run, through the exports.
TEST(DllAbi, StringServicesRows) {
  for (const testing::MeasureCase& row : testing::kMeasureCases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(static_cast<int32_t>(CallExport("tmsGetStringLength", {Arg(row.text)}).result),
              row.expected);
  }
  for (const testing::CopyCase& row : testing::kCopyCases) {
    SCOPED_TRACE(row.name);
    char buffer[16];
    memset(buffer, 0xCC, sizeof buffer);
    CallExport("tmsCopyString", {Arg(row.source), row.nullDestination ? 0 : Arg(buffer)});
    const size_t untouchedFrom = row.expected == nullptr ? 0 : strlen(row.expected) + 1;
    if (row.expected != nullptr) {
      EXPECT_STREQ(buffer, row.expected);
    }
    for (size_t i = untouchedFrom; i < sizeof buffer; ++i) {
      EXPECT_EQ(buffer[i], static_cast<char>(0xCC)) << i;
    }
  }
  // Releasing null does nothing, and a BSTR with an inner zero goes whole.
  EXPECT_EQ(CallExport("tmsFreeBSTR", {0}).bytesRemoved, kMeasuresStack ? 4u : 0u);
  CallExport("tmsFreeBSTR", {Arg(SysAllocStringLen(L"abc\0def", 7))});
}

}  // namespace
}  // namespace tms::dlltest
