// The checked export calls of the stress tests: rows of the shared case
// tables where there are some, one per call.
#include "stress/export_exercises.h"

#include <string.h>

#include "backupname/backup_name_cases.h"
#include "daynum/day_number_cases.h"
#include "strings/string_services_cases.h"

#if defined(_WIN32)
#include <oleauto.h>
#else
#include "platform/memory.h"
#endif

namespace tms::stress {
namespace {

using testing::GuardedBytes;

template <typename Function>
Function As(const void* address) {
  return reinterpret_cast<Function>(const_cast<void*>(address));
}

// BSTRs from and back to the allocator the library releases with:
// SysAllocString on Windows; on POSIX the library's own scheme over the C
// heap.
#if defined(_WIN32)
TmsBstr AllocHostBstr(const TmsWideChar* text) {
  return SysAllocString(text);
}
uint32_t RecordedLength(TmsBstr bstr) {
  return SysStringLen(bstr);
}
void FreeHostBstr(TmsBstr bstr) {
  SysFreeString(bstr);
}
#else
TmsBstr AllocHostBstr(const TmsWideChar* text) {
  return platform::SystemMemory().AllocBstr(text);
}
uint32_t RecordedLength(TmsBstr bstr) {
  return platform::SystemMemory().BstrByteLen(reinterpret_cast<Bstr>(bstr)) / 2;
}
void FreeHostBstr(TmsBstr bstr) {
  platform::SystemMemory().FreeBstr(reinterpret_cast<Bstr>(bstr));
}
#endif

// The row of a shared table that `round` picks.
template <typename Row, size_t kCount>
const Row& RowOf(const Row (&rows)[kCount], uint32_t round) {
  return rows[round % kCount];
}

// A shared row's UTF-16 text as the export's wide text.
const TmsWideChar* Wide(const char16_t* text) {
  return reinterpret_cast<const TmsWideChar*>(text);
}

// The 20-byte record (DllAbi.DllGetVersionFillsOnlyTheTwentyByteRecord
// tries the others), filled and nothing after it.
const char* CallDllGetVersion(const void* address, uint32_t, const Baseline&) {
  uint32_t record[6] = {20, 0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC};
  const TmsResult result =
      As<decltype(&DllGetVersion)>(address)(reinterpret_cast<TmsDllVersionInfo*>(record));
  const bool right = result == 0 && record[1] == 1 && record[2] == 0 && record[3] == 10 &&
                     record[4] == 1 && record[5] == 0xCCCCCCCC;
  return right ? nullptr : "the 20-byte record";
}

// The string rows of the unit tests: their texts are ASCII, so the expected
// ANSI bytes are the same in every code page.
const char* CallCopyString(const void* address, uint32_t round, const Baseline&) {
  const auto& row = RowOf(testing::kCopyCases, round);
  const auto copy = As<decltype(&tmsCopyString)>(address);
  const bool right = testing::CopiesAsExpected(
      row, [copy](const char16_t* source, char* destination) { copy(Wide(source), destination); });
  return right ? nullptr : row.name;
}

const char* CallFreeBstr(const void* address, uint32_t round, const Baseline&) {
  const char16_t* text = RowOf(testing::kCopyCases, round).source;
  As<decltype(&tmsFreeBSTR)>(address)(text == nullptr ? nullptr : AllocHostBstr(Wide(text)));
  return nullptr;  // a wrong release shows as a crash or a sanitizer report
}

const char* CallGetDayNum(const void* address, uint32_t, const Baseline& baseline) {
  const int result = As<decltype(&tmsGetDayNum)>(address)();
  return result == baseline.today || result == baseline.today + 1 ? nullptr : "today";
}

// The day-number rows of the unit tests.
const char* CallGetDayNumEx(const void* address, uint32_t round, const Baseline&) {
  const auto& row = RowOf(testing::kDayNumberCases, round);
  TmsSystemTime date = {row.year, row.month, 7, row.day, 23, 59, 59, 999};
  const int result = As<decltype(&tmsGetDayNumEx)>(address)(&date);
  const bool right = result == row.expected && date.wYear == row.year && date.wMonth == row.month &&
                     date.wDay == row.day && date.wDayOfWeek == 7 &&
                     date.wHour + date.wMinute + date.wSecond + date.wMilliseconds == 0;
  return right ? nullptr : row.name;
}

const char* CallGetHostOSName(const void* address, uint32_t round, const Baseline& baseline) {
  const uint32_t flags = round % 4;
  GuardedBytes buffer(182);
  const int result = As<decltype(&tmsGetHostOSName)>(address)(buffer.get(), flags & 1, flags >> 1);
  const bool right =
      result == baseline.longResults[flags] && buffer.Holds(baseline.longNames[flags]);
  return right ? nullptr : "the name asked for before the stress";
}

const char* CallGetHostOSNameShort(const void* address, uint32_t, const Baseline& baseline) {
  GuardedBytes buffer(130);
  const int result = As<decltype(&tmsGetHostOSNameShort)>(address)(buffer.get());
  const bool right = result == baseline.shortResult && buffer.Holds(baseline.shortName);
  return right ? nullptr : "the name asked for before the stress";
}

// The backup-name rows of the unit and DLL tests, one per call.
const char* CallGetPathForBackup(const void* address, uint32_t round, const Baseline&) {
  const auto& row = RowOf(testing::kBackupPathCases, round);
  auto destination = testing::DestinationFor(row.capacity);
  const int result = As<decltype(&tmsGetPathForBackup)>(address)(row.folder, row.source,
                                                                 destination.get(), row.capacity);
  return testing::HasOutcome(result, destination, row.expected) ? nullptr : row.name;
}

const char* CallGetStringLength(const void* address, uint32_t round, const Baseline&) {
  const auto& row = RowOf(testing::kMeasureCases, round);
  const bool right = As<decltype(&tmsGetStringLength)>(address)(Wide(row.text)) == row.expected;
  return right ? nullptr : row.name;
}

const char* CallModifyOriginalFileName(const void* address, uint32_t round, const Baseline&) {
  const auto& row = RowOf(testing::kFlattenCases, round);
  auto destination = testing::DestinationFor(row.capacity);
  const int result = As<decltype(&tmsModifyOriginalFileName)>(address)(
      row.source, destination.get(), row.capacity);
  return testing::HasOutcome(result, destination, row.expected) ? nullptr : row.name;
}

// No player runs during the stress, so the answer is null; should a player
// window exist after all, the title must be an exact-length BSTR that the
// caller can release.
const char* CallTitleExport(const void* address, uint32_t round, const Baseline&) {
  const TmsBstr title = As<TmsBstr(TMS_API*)(int)>(address)(static_cast<int>(round % 2));
  if (title == nullptr) return nullptr;
  uint32_t length = 0;
  while (title[length] != 0) ++length;
  const bool exact = RecordedLength(title) == length;
  FreeHostBstr(title);
  return exact ? nullptr : "a title's recorded length";
}

}  // namespace

const ExportExercise kExportExercises[] = {
    {"DllGetVersion", CallDllGetVersion},
    {"tmsCopyString", CallCopyString},
    {"tmsFreeBSTR", CallFreeBstr},
    {"tmsGetCurrentMusic", CallTitleExport},
    {"tmsGetCurrentVideo", CallTitleExport},
    {"tmsGetDayNum", CallGetDayNum},
    {"tmsGetDayNumEx", CallGetDayNumEx},
    {"tmsGetHostOSName", CallGetHostOSName},
    {"tmsGetHostOSNameShort", CallGetHostOSNameShort},
    {"tmsGetPathForBackup", CallGetPathForBackup},
    {"tmsGetStringLength", CallGetStringLength},
    {"tmsModifyOriginalFileName", CallModifyOriginalFileName},
};
const size_t kExportExerciseCount = sizeof kExportExercises / sizeof kExportExercises[0];

bool LoadedExports::Load(std::string* error) {
  if (!library_.Load()) {
    *error = library_.error();
    return false;
  }
  for (size_t row = 0; row < kExportExerciseCount; ++row) {
    const void* address = library_.Find(kExportExercises[row].name);
    if (address == nullptr) {
      *error = library_.error();
      return false;
    }
    addresses_.push_back(address);
  }
  return true;
}

const void* LoadedExports::Named(const char* name) const {
  for (size_t row = 0; row < kExportExerciseCount; ++row) {
    if (strcmp(kExportExercises[row].name, name) == 0) return addresses_[row];
  }
  return nullptr;
}

Baseline LoadedExports::ReadBaseline() const {
  Baseline baseline;
  baseline.today = As<decltype(&tmsGetDayNum)>(Named("tmsGetDayNum"))();
  const auto longName = As<decltype(&tmsGetHostOSName)>(Named("tmsGetHostOSName"));
  for (int flags = 0; flags < 4; ++flags) {
    GuardedBytes buffer(182);
    baseline.longResults[flags] = longName(buffer.get(), flags & 1, flags >> 1);
    baseline.longNames[flags] = buffer.Text();
  }
  GuardedBytes buffer(130);
  baseline.shortResult =
      As<decltype(&tmsGetHostOSNameShort)>(Named("tmsGetHostOSNameShort"))(buffer.get());
  baseline.shortName = buffer.Text();
  return baseline;
}

}  // namespace tms::stress
