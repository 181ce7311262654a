// The checked export calls of the stress tests. Texts are ASCII, so that
// the expected ANSI bytes are the same in every code page.
#include "stress/export_exercises.h"

#include <string.h>

#include <iterator>

#include "backupname/backup_name_cases.h"
#include "daynum/calendar_reference.h"

#if defined(_WIN32)
#include <oleauto.h>
#else
#include "platform/memory.h"
#endif

namespace tms::stress {
namespace {

constexpr char kGuard = static_cast<char>(0xCC);
// Bytes past an output buffer's contract that must stay untouched.
constexpr size_t kTailBytes = 16;

template <typename Function>
Function As(const void* address) {
  return reinterpret_cast<Function>(const_cast<void*>(address));
}

// A BSTR from the allocator the library releases with: SysAllocString on
// Windows; on POSIX the library's own scheme over the C heap.
TmsBstr AllocHostBstr(const TmsWideChar* text) {
#if defined(_WIN32)
  return SysAllocString(text);
#else
  return platform::SystemMemory().AllocBstr(text);
#endif
}

// An output buffer of `size` bytes followed by a guarded tail.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t size) : bytes_(size + kTailBytes, kGuard), size_(size) {}
  char* get() { return bytes_.data(); }
  // The text and its terminator, then guard bytes up to the end.
  bool Holds(const std::string& text) const {
    if (text.size() + 1 > size_ || memcmp(bytes_.data(), text.c_str(), text.size() + 1) != 0) {
      return false;
    }
    return Untouched(text.size() + 1);
  }
  bool Untouched(size_t from = 0) const {
    for (size_t i = from; i < bytes_.size(); ++i) {
      if (bytes_[i] != kGuard) return false;
    }
    return true;
  }
  std::string Text() const { return std::string(bytes_.data(), strnlen(bytes_.data(), size_)); }

 private:
  std::vector<char> bytes_;
  size_t size_;
};

// ASCII texts of several lengths, as wide text and as the expected ANSI.
struct SampleText {
  const TmsWideChar* wide;
  const char* ansi;
};
#if defined(_WIN32)
#define TMS_SAMPLE(text) {L"" text, text}
#else
#define TMS_SAMPLE(text) {u"" text, text}
#endif
const SampleText kSampleTexts[] = {
    TMS_SAMPLE(""),
    TMS_SAMPLE("a"),
    TMS_SAMPLE("Now playing: a title"),
    TMS_SAMPLE("C:\\Documents and Settings\\All Users\\Documents\\page.htm"),
    TMS_SAMPLE("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
               "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
               "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"),
};
#undef TMS_SAMPLE
constexpr size_t kSampleCount = sizeof kSampleTexts / sizeof kSampleTexts[0];

const SampleText& Sample(uint32_t round) { return kSampleTexts[round % kSampleCount]; }

// A row's capacity as a buffer: exactly that many bytes, but no more than
// its expected text can need (a larger capacity only permits).
size_t BufferFor(int64_t capacity) { return capacity < 0 ? 0 : capacity < 64 ? capacity : 64; }

bool HasOutcome(int result, const GuardedBuffer& destination, const char* expected) {
  if (expected == nullptr) return result == 0 && destination.Untouched();
  return result == 1 && destination.Holds(expected);
}

bool CallDllGetVersion(const void* address, uint32_t round, const Baseline&) {
  // Now and then the 32-byte extended record, which is refused untouched.
  const uint32_t size = round % 4 == 3 ? 32 : 20;
  uint32_t record[8] = {size, 0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC,
                        0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC, 0xCCCCCCCC};
  const TmsResult result = As<decltype(&DllGetVersion)>(address)(
      reinterpret_cast<TmsDllVersionInfo*>(record));
  if (size != 20) {
    return static_cast<uint32_t>(result) == 0x80070057u && record[1] == 0xCCCCCCCC;
  }
  return result == 0 && record[1] == 1 && record[2] == 0 && record[3] == 10 && record[4] == 1 &&
         record[5] == 0xCCCCCCCC;
}

bool CallCopyString(const void* address, uint32_t round, const Baseline&) {
  const SampleText& sample = Sample(round);
  GuardedBuffer destination(strlen(sample.ansi) + 1);
  As<decltype(&tmsCopyString)>(address)(sample.wide, destination.get());
  return destination.Holds(sample.ansi);
}

bool CallFreeBstr(const void* address, uint32_t round, const Baseline&) {
  TmsBstr bstr = round % 8 == 0 ? nullptr : AllocHostBstr(Sample(round).wide);
  As<decltype(&tmsFreeBSTR)>(address)(bstr);
  return true;  // a wrong release shows as a crash or a sanitizer report
}

bool CallGetDayNum(const void* address, uint32_t, const Baseline& baseline) {
  const int result = As<decltype(&tmsGetDayNum)>(address)();
  return result == baseline.today || result == baseline.today + 1;
}

bool CallGetDayNumEx(const void* address, uint32_t round, const Baseline&) {
  const auto year = static_cast<uint16_t>(1995 + round % 120);
  const auto month = static_cast<uint16_t>(1 + round % 13);  // 13 is invalid
  const auto day = static_cast<uint16_t>(1 + round % 31);     // some invalid for their month
  TmsSystemTime date = {year, month, 7, day, 23, 59, 59, 999};
  const int result = As<decltype(&tmsGetDayNumEx)>(address)(&date);
  return result == testing::DayNumberReference(year, month, day) && date.wYear == year &&
         date.wMonth == month && date.wDay == day && date.wDayOfWeek == 7 && date.wHour == 0 &&
         date.wMinute == 0 && date.wSecond == 0 && date.wMilliseconds == 0;
}

bool CallGetHostOSName(const void* address, uint32_t round, const Baseline& baseline) {
  const uint32_t flags = round % 4;
  GuardedBuffer buffer(182);
  const int result = As<decltype(&tmsGetHostOSName)>(address)(buffer.get(), flags & 1, flags >> 1);
  return result == baseline.longResults[flags] && buffer.Holds(baseline.longNames[flags]);
}

bool CallGetHostOSNameShort(const void* address, uint32_t, const Baseline& baseline) {
  GuardedBuffer buffer(130);
  const int result = As<decltype(&tmsGetHostOSNameShort)>(address)(buffer.get());
  return result == baseline.shortResult && buffer.Holds(baseline.shortName);
}

// The backup-name rows of the unit and DLL tests, one per call.
bool CallGetPathForBackup(const void* address, uint32_t round, const Baseline&) {
  const auto& row = testing::kBackupPathCases[round % std::size(testing::kBackupPathCases)];
  GuardedBuffer destination(BufferFor(row.capacity));
  const int result = As<decltype(&tmsGetPathForBackup)>(address)(row.folder, row.source,
                                                                  destination.get(), row.capacity);
  return HasOutcome(result, destination, row.expected);
}

bool CallGetStringLength(const void* address, uint32_t round, const Baseline&) {
  const TmsWideChar* text = round % 8 == 0 ? nullptr : Sample(round).wide;
  const int expected = text == nullptr ? 0 : static_cast<int>(strlen(Sample(round).ansi));
  return As<decltype(&tmsGetStringLength)>(address)(text) == expected;
}

bool CallModifyOriginalFileName(const void* address, uint32_t round, const Baseline&) {
  const auto& row = testing::kFlattenCases[round % std::size(testing::kFlattenCases)];
  GuardedBuffer destination(BufferFor(row.capacity));
  const int result =
      As<decltype(&tmsModifyOriginalFileName)>(address)(row.source, destination.get(), row.capacity);
  return HasOutcome(result, destination, row.expected);
}

// The recorded length of a BSTR the library returned, in units.
uint32_t RecordedLength(TmsBstr bstr) {
#if defined(_WIN32)
  return SysStringLen(bstr);
#else
  return platform::SystemMemory().BstrByteLen(reinterpret_cast<Bstr>(bstr)) / 2;
#endif
}

void FreeHostBstr(TmsBstr bstr) {
#if defined(_WIN32)
  SysFreeString(bstr);
#else
  platform::SystemMemory().FreeBstr(reinterpret_cast<Bstr>(bstr));
#endif
}

// No player runs during the stress, so the answer is null; should a player
// window exist after all, the title must be an exact-length BSTR that the
// caller can release.
bool CallTitleExport(const void* address, uint32_t round) {
  const TmsBstr title = As<TmsBstr(TMS_API*)(int)>(address)(static_cast<int>(round % 2));
  if (title == nullptr) return true;
  uint32_t length = 0;
  while (title[length] != 0) ++length;
  const bool exact = RecordedLength(title) == length;
  FreeHostBstr(title);
  return exact;
}

bool CallGetCurrentMusic(const void* address, uint32_t round, const Baseline&) {
  return CallTitleExport(address, round);
}

bool CallGetCurrentVideo(const void* address, uint32_t round, const Baseline&) {
  return CallTitleExport(address, round);
}

}  // namespace

const ExportExercise kExportExercises[] = {
    {"DllGetVersion", CallDllGetVersion},
    {"tmsCopyString", CallCopyString},
    {"tmsFreeBSTR", CallFreeBstr},
    {"tmsGetCurrentMusic", CallGetCurrentMusic},
    {"tmsGetCurrentVideo", CallGetCurrentVideo},
    {"tmsGetDayNum", CallGetDayNum},
    {"tmsGetDayNumEx", CallGetDayNumEx},
    {"tmsGetHostOSName", CallGetHostOSName},
    {"tmsGetHostOSNameShort", CallGetHostOSNameShort},
    {"tmsGetPathForBackup", CallGetPathForBackup},
    {"tmsGetStringLength", CallGetStringLength},
    {"tmsModifyOriginalFileName", CallModifyOriginalFileName},
};
const size_t kExportExerciseCount = sizeof kExportExercises / sizeof kExportExercises[0];

bool ExportAddresses::Find(LibraryLoader& library, std::string* error) {
  addresses_.clear();
  for (size_t row = 0; row < kExportExerciseCount; ++row) {
    const void* address = library.Find(kExportExercises[row].name);
    if (address == nullptr) {
      *error = library.error();
      return false;
    }
    addresses_.push_back(address);
  }
  return true;
}

const void* ExportAddresses::Named(const char* name) const {
  for (size_t row = 0; row < kExportExerciseCount; ++row) {
    if (strcmp(kExportExercises[row].name, name) == 0) return addresses_[row];
  }
  return nullptr;
}

Baseline ReadBaseline(const ExportAddresses& exports) {
  Baseline baseline;
  baseline.today = As<decltype(&tmsGetDayNum)>(exports.Named("tmsGetDayNum"))();
  const auto longName = As<decltype(&tmsGetHostOSName)>(exports.Named("tmsGetHostOSName"));
  for (int flags = 0; flags < 4; ++flags) {
    GuardedBuffer buffer(182);
    baseline.longResults[flags] = longName(buffer.get(), flags & 1, flags >> 1);
    baseline.longNames[flags] = buffer.Text();
  }
  GuardedBuffer buffer(130);
  baseline.shortResult =
      As<decltype(&tmsGetHostOSNameShort)>(exports.Named("tmsGetHostOSNameShort"))(buffer.get());
  baseline.shortName = buffer.Text();
  return baseline;
}

}  // namespace tms::stress
