// The exported functions: each checks its arguments, calls its subsystem with
// the system's platform services, and converts between the public types and
// the library's own.
#include <stddef.h>

#include "TolvaricModeSupport.h"
#include "backupname/backup_name.h"
#include "colorpicker/color_picker.h"
#include "daynum/day_number.h"
#include "exports/export_macros.h"
#include "exports/library_version.h"
#include "osname/host_os_name.h"
#include "nowplaying/player_probe.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/color_dialog.h"
#include "platform/memory.h"
#include "platform/settings_store.h"
#include "platform/version_source.h"
#include "platform/window_manager.h"
#include "strings/string_services.h"

namespace {

// The public wide-character type is WCHAR on Windows and char16_t elsewhere;
// both are 16-bit units with the same representation.
const tms::WideChar* AsWide(const TmsWideChar* text) {
  return reinterpret_cast<const tms::WideChar*>(text);
}
tms::Bstr AsBstr(TmsBstr bstr) { return reinterpret_cast<tms::Bstr>(bstr); }

// The host's SYSTEMTIME and the library's DateRecord are the same eight
// 16-bit fields in the same order.
static_assert(sizeof(TmsSystemTime) == sizeof(tms::DateRecord), "date record size");
static_assert(offsetof(TmsSystemTime, wYear) == offsetof(tms::DateRecord, year) &&
                  offsetof(TmsSystemTime, wMonth) == offsetof(tms::DateRecord, month) &&
                  offsetof(TmsSystemTime, wDayOfWeek) == offsetof(tms::DateRecord, dayOfWeek) &&
                  offsetof(TmsSystemTime, wDay) == offsetof(tms::DateRecord, day) &&
                  offsetof(TmsSystemTime, wHour) == offsetof(tms::DateRecord, hour) &&
                  offsetof(TmsSystemTime, wMinute) == offsetof(tms::DateRecord, minute) &&
                  offsetof(TmsSystemTime, wSecond) == offsetof(tms::DateRecord, second) &&
                  offsetof(TmsSystemTime, wMilliseconds) == offsetof(tms::DateRecord, milliseconds),
              "date record layout");
tms::DateRecord* AsDateRecord(TmsSystemTime* date) {
  return reinterpret_cast<tms::DateRecord*>(date);
}

}  // namespace

// ---------------------------------------------------------------------------
// DllGetVersion (ordinal 1)
// info: a DLLVERSIONINFO whose cbSize is exactly 20.
// Returns S_OK after filling 1.0 build 10 platform 1; E_INVALIDARG for null
// or any other cbSize, leaving the structure untouched.
TMS_EXPORT TmsResult TMS_CALL DllGetVersion(TmsDllVersionInfo* info) {
  if (info == nullptr || info->cbSize != TMS_DLL_VERSION_INFO_SIZE) return TMS_E_INVALIDARG;
  info->dwMajorVersion = TMS_VERSION_MAJOR;
  info->dwMinorVersion = TMS_VERSION_MINOR;
  info->dwBuildNumber = TMS_VERSION_BUILD;
  info->dwPlatformID = 1;  // DLLVER_PLATFORM_WINDOWS
  return TMS_S_OK;
}

// ---------------------------------------------------------------------------
// tmsCopyString (ordinal 2)
// source: zero-terminated wide text, read up to its first zero unit.
// destination: the caller's buffer, large enough for the ANSI form plus its
// terminator. Null pointers are ignored; nothing is written when the
// conversion cannot get its memory.
TMS_EXPORT void TMS_CALL tmsCopyString(const TmsWideChar* source, char* destination) {
  tms::CopyWideTextAsAnsi(tms::platform::SystemMemory(), tms::platform::SystemCodepage(),
                          AsWide(source), destination);
}

// ---------------------------------------------------------------------------
// tmsFreeBSTR (ordinal 3)
// Releases a BSTR that the library returned; null is accepted.
TMS_EXPORT void TMS_CALL tmsFreeBSTR(TmsBstr bstr) {
  tms::platform::SystemMemory().FreeBstr(AsBstr(bstr));
}

namespace {
tms::NowPlayingServices SystemNowPlaying() {
  return {tms::platform::SystemWindowManager(), tms::platform::SystemMemory(),
          tms::platform::SystemCodepage()};
}
}  // namespace

// ---------------------------------------------------------------------------
// tmsGetCurrentMusic (ordinal 4), tmsGetCurrentVideo (ordinal 5)
// htmlRefs: nonzero asks for HTML numeric character references (NT family
// only; elsewhere the flag has no effect).
// Returns the title of the music / video that a known player plays, as a
// BSTR the caller owns and releases with tmsFreeBSTR; null when nothing plays.
TMS_EXPORT TmsBstr TMS_CALL tmsGetCurrentMusic(int htmlRefs) {
  return reinterpret_cast<TmsBstr>(tms::GetCurrentMusic(SystemNowPlaying(), htmlRefs));
}

TMS_EXPORT TmsBstr TMS_CALL tmsGetCurrentVideo(int htmlRefs) {
  return reinterpret_cast<TmsBstr>(tms::GetCurrentVideo(SystemNowPlaying(), htmlRefs));
}

// ---------------------------------------------------------------------------
// tmsGetDayNum (ordinal 6)
// Returns the day number of today's local date (27 July 2000 is day 1).
TMS_EXPORT int TMS_CALL tmsGetDayNum(void) {
  return tms::TodayDayNumber(tms::platform::SystemClock());
}

// ---------------------------------------------------------------------------
// tmsGetDayNumEx (ordinal 7)
// date: the caller's record; its time fields are set to 0 unless it is null.
// Returns the day number of its date; 0 for null, for a date before 27 July
// 2000 and for a record that is not a valid date from 1601 through 30827.
TMS_EXPORT int TMS_CALL tmsGetDayNumEx(TmsSystemTime* date) {
  return tms::DayNumber(tms::platform::SystemClock(), AsDateRecord(date));
}

// ---------------------------------------------------------------------------
// tmsGetHTMLColor (ordinal 8)
// owner: the window that owns the colour dialog, passed on unchanged.
// result: the caller's buffer of at least 8 bytes; receives "#RRGGBB" after
// a confirmed choice and the empty text otherwise. The sixteen custom
// colours are read from TolvaricMode.INI beside the host's executable before
// the dialog and written back after it. With a null result no dialog is
// shown, no file is touched and the result is 0.
// Returns the dialog's own result: non-zero when the user confirmed a colour.
TMS_EXPORT int TMS_CALL tmsGetHTMLColor(TmsWindow owner, char* result) {
  return tms::PickHtmlColor(tms::platform::SystemSettingsStore(),
                            tms::platform::SystemColorDialog(), owner, result);
}

// ---------------------------------------------------------------------------
// tmsGetHostOSName (ordinal 9)
// buffer: the caller's, at least 182 bytes. omitVendor: nonzero leaves out
// "Microsoft ". breakLine: nonzero puts "\r\n" before the service pack.
// Returns 1 with the name; 0 with "Unknown OS" when the version cannot be
// read; 0 and nothing written for a null buffer.
TMS_EXPORT int TMS_CALL tmsGetHostOSName(char* buffer, int omitVendor, int breakLine) {
  return tms::WriteHostOSName(tms::platform::SystemVersionSource(), tms::NameForm::kLong,
                              omitVendor != 0, breakLine != 0, buffer)
             ? 1
             : 0;
}

// ---------------------------------------------------------------------------
// tmsGetHostOSNameShort (ordinal 10)
// buffer: the caller's, at least 130 bytes. The short name ("WinXP Prof
// SP3 (Build 2600)"); results as for tmsGetHostOSName.
TMS_EXPORT int TMS_CALL tmsGetHostOSNameShort(char* buffer) {
  return tms::WriteHostOSName(tms::platform::SystemVersionSource(), tms::NameForm::kShort, true,
                              false, buffer)
             ? 1
             : 0;
}

// ---------------------------------------------------------------------------
// tmsGetPathForBackup (ordinal 11)
// folder, source: ANSI texts; destination: the caller's buffer of `capacity`
// bytes (signed), which must hold both lengths plus 2.
// Returns 1 with folder, backslash and flattened source written; 0, with
// nothing written, for a capacity too small, a null pointer or no memory.
TMS_EXPORT int TMS_CALL tmsGetPathForBackup(const char* folder, const char* source,
                                            char* destination, int capacity) {
  return tms::MakeBackupPath(tms::platform::SystemMemory(), folder, source, destination, capacity)
             ? 1
             : 0;
}

// ---------------------------------------------------------------------------
// tmsGetStringLength (ordinal 12)
// Returns the UTF-16 units before the first zero unit; 0 for null.
TMS_EXPORT int TMS_CALL tmsGetStringLength(const TmsWideChar* text) {
  return tms::MeasureWideText(AsWide(text));
}

// ---------------------------------------------------------------------------
// tmsModifyOriginalFileName (ordinal 13)
// source: ANSI text; destination: the caller's buffer of `capacity` bytes
// (unsigned), which must hold the length of source plus 2.
// Returns 1 with the flattened name written; 0, with nothing written, for a
// capacity too small or a null pointer.
TMS_EXPORT int TMS_CALL tmsModifyOriginalFileName(const char* source, char* destination,
                                                  unsigned int capacity) {
  return tms::FlattenFileName(source, destination, capacity) ? 1 : 0;
}
