// The exported functions: each checks its arguments, calls its subsystem with
// the system's platform services, and converts between the public types and
// the library's own.
#include "TolvaricModeSupport.h"
#include "colorpicker/color_picker.h"
#include "exports/export_macros.h"
#include "exports/library_version.h"
#include "platform/codepage.h"
#include "platform/color_dialog.h"
#include "platform/memory.h"
#include "platform/settings_store.h"
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
// tmsGetStringLength (ordinal 12)
// Returns the UTF-16 units before the first zero unit; 0 for null.
TMS_EXPORT int TMS_CALL tmsGetStringLength(const TmsWideChar* text) {
  return tms::MeasureWideText(AsWide(text));
}
