// The exported functions: each checks its arguments, calls its subsystem with
// the system's platform services, and converts between the public types and
// the library's own.
#include "TolvaricModeSupport.h"
#include "exports/export_macros.h"
#include "exports/library_version.h"
#include "nowplaying/player_probe.h"
#include "platform/codepage.h"
#include "platform/memory.h"
#include "platform/window_manager.h"
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
// tmsGetStringLength (ordinal 12)
// Returns the UTF-16 units before the first zero unit; 0 for null.
TMS_EXPORT int TMS_CALL tmsGetStringLength(const TmsWideChar* text) {
  return tms::MeasureWideText(AsWide(text));
}
