/* TolvaricModeSupport: the public interface for host applications.
 *
 * Every function uses the standard Windows calling convention on 32-bit
 * Windows (WINAPI) and the platform's default convention elsewhere. Strings
 * cross the boundary three ways: ANSI text written into a buffer the caller
 * supplies, a BSTR that the library allocates and the caller releases once
 * with tmsFreeBSTR, and zero-terminated wide text passed to the string
 * services. */
#ifndef TOLVARIC_MODE_SUPPORT_H
#define TOLVARIC_MODE_SUPPORT_H

#if defined(_WIN32)
#include <windows.h>
#include <oleauto.h>

#define TMS_API WINAPI
typedef WCHAR TmsWideChar;
typedef BSTR TmsBstr;
typedef HWND TmsWindow;
typedef SYSTEMTIME TmsSystemTime;
typedef HRESULT TmsResult;
/* The shell's DLLVERSIONINFO (shlwapi.h) under its own tag. */
typedef struct _DLLVERSIONINFO TmsDllVersionInfo;
#else
#include <stdint.h>

#define TMS_API
#ifdef __cplusplus
typedef char16_t TmsWideChar;
#else
typedef uint_least16_t TmsWideChar;
#endif
/* UTF-16 text preceded by its 32-bit byte length and followed by a zero unit. */
typedef TmsWideChar* TmsBstr;
typedef void* TmsWindow;
typedef int32_t TmsResult;
typedef struct TmsSystemTime {
  uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} TmsSystemTime;
typedef struct TmsDllVersionInfo {
  uint32_t cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
} TmsDllVersionInfo;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* 1. Fills a version record whose cbSize is exactly 20 with 1.0 build 10,
 *    platform 1. S_OK, or E_INVALIDARG (0x80070057) for null or any other
 *    cbSize, in which case nothing is written. */
TmsResult TMS_API DllGetVersion(TmsDllVersionInfo* info);

/* 2. Writes the ANSI form of the wide text, with its terminator, into the
 *    caller's buffer, which must hold at least that many bytes (in a
 *    single-byte code page tmsGetStringLength(source) + 1). Null pointers
 *    are ignored. */
void TMS_API tmsCopyString(const TmsWideChar* source, char* destination);

/* 3. Releases a BSTR returned by the library; null is accepted. */
void TMS_API tmsFreeBSTR(TmsBstr bstr);

/* 4, 5. Title of the music / video a running player plays, or null. A
 *    non-zero flag asks for HTML numeric character references. The caller
 *    owns the result and releases it with tmsFreeBSTR. */
TmsBstr TMS_API tmsGetCurrentMusic(int htmlRefs);
TmsBstr TMS_API tmsGetCurrentVideo(int htmlRefs);

/* 6, 7. Day number counted from 27 July 2000 as day 1; 0 for null, for an
 *    earlier date and for an invalid record. tmsGetDayNumEx clears the time
 *    fields of the caller's record. */
int TMS_API tmsGetDayNum(void);
int TMS_API tmsGetDayNumEx(TmsSystemTime* date);

/* 8. Lets the user pick a colour; writes "#RRGGBB" (8 bytes with the
 *    terminator) or the empty text when cancelled. Non-zero when chosen.
 *    The custom colours live in TolvaricMode.INI beside the host's
 *    executable. A null result shows no dialog and returns 0. */
int TMS_API tmsGetHTMLColor(TmsWindow owner, char* result);

/* 9, 10. Name of the host operating system. The long form needs a buffer of
 *    182 bytes, the short form 130. 1, or 0 with "Unknown OS"; 0 and
 *    nothing written for a null buffer. */
int TMS_API tmsGetHostOSName(char* buffer, int omitVendor, int breakLine);
int TMS_API tmsGetHostOSNameShort(char* buffer);

/* 11. Folder, a backslash unless the folder ends in one, and the flattened
 *    file path. 1, or 0 (nothing written) when capacity is too small. */
int TMS_API tmsGetPathForBackup(const char* folder, const char* source, char* destination,
                                int capacity);

/* 12. UTF-16 units before the first zero unit; 0 for null. */
int TMS_API tmsGetStringLength(const TmsWideChar* text);

/* 13. The path with every ':' and '\' turned into '~'. Needs a capacity of
 *    the path's length + 2. 1, or 0 (nothing written). */
int TMS_API tmsModifyOriginalFileName(const char* source, char* destination,
                                      unsigned int capacity);

#ifdef __cplusplus
}
#endif

#endif /* TOLVARIC_MODE_SUPPORT_H */
