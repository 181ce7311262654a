// The exported functions: each checks its arguments, calls its subsystem with
// the system's platform services, and converts between the public types and
// the library's own.
#include "TolvaricModeSupport.h"
#include "exports/export_macros.h"
#include "exports/library_version.h"
#include "osname/host_os_name.h"
#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/version_source.h"
#include "strings/string_services.h"

namespace {

// The public wide-character type is WCHAR on Windows and char16_t elsewhere;
// both are 16-bit units with the same representation.
const tms::WideChar* AsWide(const TmsWideChar* text) {
  return reinterpret_cast<const tms::WideChar*>(text);
}
tms::Bstr AsBstr(TmsBstr bstr) { return reinterpret_cast<tms::Bstr>(bstr); }

}  // namespace

// ---------------------------------------------------------------------------
// DllGetVersion (ordinal 1)
// info: a DLLVERSIONINFO whose cbSize is exactly 20.
// Returns S_OK after filling 1.0 build 10 platform 1; E_INVALIDARG for null
// or any other cbSize, leaving the structure untouched.
TMS_EXPORT TmsResult TMS_CALL DllGetVersion(TmsDllVersionInfo* info) {
  return tms::FillDllVersion(reinterpret_cast<tms::DllVersionRecord*>(info));
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

// ---------------------------------------------------------------------------
// tmsGetHostOSName (ordinal 9)
// buffer: the caller's, at least 182 bytes. omitVendor: nonzero leaves out
// "Microsoft ". breakLine: nonzero puts "\r\n" before the service pack.
// Returns 1 with the name; 0 with "Unknown OS" when the version cannot be
// read; 0 and nothing written for a null buffer.
TMS_EXPORT int TMS_CALL tmsGetHostOSName(char* buffer, int omitVendor, int breakLine) {
  return tms::WriteHostOSName(tms::platform::SystemVersionSource(), tms::NameForm::kLong,
                              omitVendor != 0, breakLine != 0, buffer);
}

// ---------------------------------------------------------------------------
// tmsGetHostOSNameShort (ordinal 10)
// buffer: the caller's, at least 130 bytes. The short name ("WinXP Prof
// SP3 (Build 2600)"); results as for tmsGetHostOSName.
TMS_EXPORT int TMS_CALL tmsGetHostOSNameShort(char* buffer) {
  return tms::WriteHostOSName(tms::platform::SystemVersionSource(), tms::NameForm::kShort, true,
                              false, buffer);
}

// ---------------------------------------------------------------------------
// tmsGetStringLength (ordinal 12)
// Returns the UTF-16 units before the first zero unit; 0 for null.
TMS_EXPORT int TMS_CALL tmsGetStringLength(const TmsWideChar* text) {
  return tms::MeasureWideText(AsWide(text));
}
