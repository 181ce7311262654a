/* TolvaricModeSupport: the public interface for host applications (C and C++).
 *
 * Calling convention: WINAPI (stdcall) on 32-bit Windows, where each export
 * removes its own arguments; the one x64 convention on 64-bit Windows; the
 * platform's default convention elsewhere (libTolvaricModeSupport.so).
 *
 * Strings cross the boundary three ways:
 *  - ANSI text (the active ANSI code page) written into a buffer that the
 *    caller supplies. Only tmsGetPathForBackup and tmsModifyOriginalFileName
 *    take a capacity; for the others the caller supplies the size given in
 *    their comment (the TMS_..._SIZE constants below).
 *  - A BSTR that the library allocates (tmsGetCurrentMusic,
 *    tmsGetCurrentVideo). The caller owns it from the return on and releases
 *    it exactly once with tmsFreeBSTR. Null means "no result" and owns nothing.
 *  - Zero-terminated wide (UTF-16) text that the caller passes to the string
 *    services tmsGetStringLength and tmsCopyString.
 * The library never frees or keeps the caller's memory, keeps no state
 * between calls and may be called from any thread. */
#ifndef TOLVARIC_MODE_SUPPORT_H
#define TOLVARIC_MODE_SUPPORT_H

#if defined(_WIN32)
#include <windows.h>
#include <oleauto.h>
#include <shlwapi.h>

#define TMS_API WINAPI
typedef WCHAR TmsWideChar;
typedef BSTR TmsBstr;
typedef HWND TmsWindow;
typedef SYSTEMTIME TmsSystemTime;
typedef HRESULT TmsResult;
typedef DLLVERSIONINFO TmsDllVersionInfo;
#else
#include <stdint.h>

#define TMS_API
#ifdef __cplusplus
typedef char16_t TmsWideChar;
#else
typedef uint_least16_t TmsWideChar;
#endif
/* UTF-16 text preceded by its 32-bit byte length and followed by a zero unit;
 * the pointer addresses the first character, as on Windows. */
typedef TmsWideChar* TmsBstr;
typedef void* TmsWindow;
typedef int32_t TmsResult;
/* The layout of the Windows SYSTEMTIME. */
typedef struct TmsSystemTime {
  uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} TmsSystemTime;
/* The layout of the Windows shell's DLLVERSIONINFO. */
typedef struct TmsDllVersionInfo {
  uint32_t cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
} TmsDllVersionInfo;
#endif

/* A wide string literal of the type the string services take:
 * TMS_WIDE_TEXT("abc") is L"abc" on Windows and u"abc" (C11, C++11) elsewhere. */
#if defined(_WIN32)
#define TMS_WIDE_TEXT(literal) L##literal
#else
#define TMS_WIDE_TEXT(literal) u##literal
#endif

/* Results of DllGetVersion. */
#define TMS_S_OK ((TmsResult)0)
#define TMS_E_INVALIDARG ((TmsResult)0x80070057UL)

/* Sizes in bytes, terminator included. */
#define TMS_DLL_VERSION_INFO_SIZE 20 /* cbSize that DllGetVersion accepts */
#define TMS_HTML_COLOR_SIZE 8        /* "#RRGGBB" */
#define TMS_OS_NAME_SIZE 182         /* tmsGetHostOSName, either flag set */
#define TMS_OS_NAME_SHORT_SIZE 130   /* tmsGetHostOSNameShort */

#ifdef __cplusplus
extern "C" {
#endif

/* 1. info: the caller's record with cbSize set to exactly 20. Fills
 *    version 1.0 build 10, platform 1, and returns TMS_S_OK; returns
 *    TMS_E_INVALIDARG, writing nothing, for null or any other cbSize (the
 *    larger DLLVERSIONINFO2 included). */
TmsResult TMS_API DllGetVersion(TmsDllVersionInfo* info);

/* 2. Writes the ANSI form of the wide text source (up to its first zero
 *    unit), with its terminator, into destination. No capacity is passed:
 *    destination must hold the ANSI form plus 1 byte. With n =
 *    tmsGetStringLength(source), 3 * n + 1 bytes suffice in every ANSI code
 *    page: a unit takes up to 2 bytes in a double-byte code page and up to 3
 *    in UTF-8 (code page 65001 on Windows 10 and 11, and the Linux build),
 *    so 2 * n + 1 can overflow. A null source or destination does nothing;
 *    so does a conversion that cannot get its memory. Characters the code
 *    page lacks become what the system's default conversion gives (a
 *    best-fit character or '?'). */
void TMS_API tmsCopyString(const TmsWideChar* source, char* destination);

/* 3. Releases a BSTR that the library returned; null does nothing. Call it
 *    once per BSTR; the BSTR is invalid afterwards. */
void TMS_API tmsFreeBSTR(TmsBstr bstr);

/* 4, 5. Title of the music / video that a running media player plays, or
 *    null when no known player shows one. A non-zero htmlRefs turns every
 *    character from U+0080 up into an HTML numeric character reference
 *    ("&#233;") on the NT family of Windows. The caller owns a non-null
 *    result and releases it with tmsFreeBSTR. */
TmsBstr TMS_API tmsGetCurrentMusic(int htmlRefs);
TmsBstr TMS_API tmsGetCurrentVideo(int htmlRefs);

/* 6, 7. Day number counted from 27 July 2000 as day 1 (1 January 2001 is
 *    day 159). tmsGetDayNum: today's local date. tmsGetDayNumEx: the date
 *    in the caller's record, whose wHour, wMinute, wSecond and wMilliseconds
 *    it sets to 0 (other fields untouched); 0 for null, for a date before
 *    27 July 2000 and for a record that is not a valid date from 1601 to
 *    30827. */
int TMS_API tmsGetDayNum(void);
int TMS_API tmsGetDayNumEx(TmsSystemTime* date);

/* 8. Opens the system colour dialog, owned by the window owner (may be
 *    null), and waits for the user. result: the caller's buffer of at least
 *    TMS_HTML_COLOR_SIZE (8) bytes; receives "#RRGGBB" (upper-case hex) when
 *    a colour was chosen, the empty text when the dialog was cancelled.
 *    Returns non-zero when a colour was chosen. The dialog's sixteen custom
 *    colours are kept in TolvaricMode.INI beside the host's executable. A
 *    null result shows no dialog, touches no file and returns 0. */
int TMS_API tmsGetHTMLColor(TmsWindow owner, char* result);

/* 9, 10. Name of the host operating system, as ANSI text, e.g. "Microsoft
 *    Windows XP Professional Service Pack 3 (Build 2600)" and "WinXP Prof
 *    SP3 (Build 2600)". buffer: the caller's, at least TMS_OS_NAME_SIZE (182)
 *    bytes for the long form and TMS_OS_NAME_SHORT_SIZE (130) for the short.
 *    omitVendor non-zero leaves out "Microsoft "; breakLine non-zero puts
 *    "\r\n" before the service pack and build. Returns 1; 0 with "Unknown
 *    OS" when the system's version cannot be read; 0, writing nothing, for a
 *    null buffer. */
int TMS_API tmsGetHostOSName(char* buffer, int omitVendor, int breakLine);
int TMS_API tmsGetHostOSNameShort(char* buffer);

/* 11. Path of the backup copy of source inside folder: the folder, a
 *    backslash unless the folder ends in one, and source flattened as by
 *    tmsModifyOriginalFileName ("D:\Backup" + "C:\Docs\a.htm" gives
 *    "D:\Backup\C~~Docs~a.htm"). capacity: the size of destination in bytes,
 *    which must be at least strlen(folder) + strlen(source) + 2. Returns 1;
 *    0, writing nothing, when capacity is smaller (or negative) or a pointer
 *    is null. */
int TMS_API tmsGetPathForBackup(const char* folder, const char* source, char* destination,
                                int capacity);

/* 12. Number of UTF-16 units before the first zero unit (for a BSTR
 *    without inner zeros, its length); 0 for null. */
int TMS_API tmsGetStringLength(const TmsWideChar* text);

/* 13. source with every ':' and '\' turned into '~' ("C:\Docs\page.htm"
 *    gives "C~~Docs~page.htm"), byte by byte. capacity: the size of
 *    destination in bytes, which must be at least strlen(source) + 2 (one
 *    byte more than the result needs). Returns 1; 0, writing nothing, when
 *    capacity is smaller or a pointer is null. */
int TMS_API tmsModifyOriginalFileName(const char* source, char* destination,
                                      unsigned int capacity);

#ifdef __cplusplus
}
#endif

#endif /* TOLVARIC_MODE_SUPPORT_H */
