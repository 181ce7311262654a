/* A complete host in C: links TolvaricModeSupport through its import library
 * (or, on Linux, the shared object) and prints what the library answers.
 * Returns 0 when every answer is as expected, 1 otherwise.
 *
 * 32-bit Windows, MinGW-w64, from the release folder:
 *   i686-w64-mingw32-gcc examples/host.c -Iinclude -Llib -lTolvaricModeSupport -o host.exe
 * 64-bit Windows:
 *   x86_64-w64-mingw32-gcc examples/host.c -Iinclude -Llib64 -lTolvaricModeSupport -o host.exe
 * Visual C++ (x86 or x64 prompt, lib\ or lib64\):
 *   cl host.c /Iinclude lib\TolvaricModeSupport.lib
 * Copy TolvaricModeSupport.DLL (bin\ or bin64\) beside host.exe to run it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "TolvaricModeSupport.h"

/* Converts wide text (a BSTR from the library or any other) to ANSI: measure
 * it, allocate enough for any code page, copy. The caller frees the result. */
static char* CopyToAnsi(const TmsWideChar* text) {
  const int units = tmsGetStringLength(text);
  char* ansi = (char*)malloc((size_t)units * 3 + 1);
  if (ansi != NULL) {
    ansi[0] = '\0';
    tmsCopyString(text, ansi);
  }
  return ansi;
}

static int Check(int ok, const char* what) {
  if (!ok) fprintf(stderr, "host: unexpected answer from %s\n", what);
  return ok ? 0 : 1;
}

int main(void) {
  int failures = 0;

  /* The version record: cbSize must be exactly 20. */
  TmsDllVersionInfo version;
  memset(&version, 0, sizeof version);
  version.cbSize = TMS_DLL_VERSION_INFO_SIZE;
  failures += Check(DllGetVersion(&version) == TMS_S_OK, "DllGetVersion");
  printf("library: %lu.%lu build %lu\n", (unsigned long)version.dwMajorVersion,
         (unsigned long)version.dwMinorVersion, (unsigned long)version.dwBuildNumber);

  /* Fixed-size buffers: the library writes at most this much. A result of 0
   * means the system's version could not be read ("Unknown OS"). */
  {
    char longName[TMS_OS_NAME_SIZE];
    char shortName[TMS_OS_NAME_SHORT_SIZE];
    tmsGetHostOSName(longName, 0, 0);
    tmsGetHostOSNameShort(shortName);
    printf("os: %s\nos (short): %s\n", longName, shortName);
  }

  /* Day numbers: 27 July 2000 is day 1. The time fields are cleared. */
  {
    TmsSystemTime date;
    int day;
    memset(&date, 0, sizeof date);
    date.wYear = 2004;
    date.wMonth = 7;
    date.wDay = 27;
    date.wHour = 13;
    day = tmsGetDayNumEx(&date);
    failures += Check(day == 1462 && date.wHour == 0, "tmsGetDayNumEx");
    printf("2004-07-27: day %d\ntoday: day %d\n", day, tmsGetDayNum());
  }

  /* Buffers with a capacity: the length of the inputs plus 2. */
  {
    const char* folder = "D:\\Backup";
    const char* file = "C:\\Docs\\page.htm";
    char flat[64];
    char backup[64];
    failures += Check(tmsModifyOriginalFileName(file, flat, (unsigned)(strlen(file) + 2)) == 1,
                      "tmsModifyOriginalFileName");
    failures += Check(tmsGetPathForBackup(folder, file, backup,
                                          (int)(strlen(folder) + strlen(file) + 2)) == 1,
                      "tmsGetPathForBackup");
    /* One byte short: refused, nothing written. */
    failures += Check(tmsModifyOriginalFileName(file, flat, (unsigned)(strlen(file) + 1)) == 0,
                      "tmsModifyOriginalFileName (too small)");
    printf("flattened: %s\nbackup path: %s\n", flat, backup);
  }

  /* String services on the host's own wide text: measure, copy. */
  {
    const TmsWideChar* greeting = TMS_WIDE_TEXT("Hello, host");
    char* ansi = CopyToAnsi(greeting);
    failures += Check(ansi != NULL && strcmp(ansi, "Hello, host") == 0, "tmsCopyString");
    printf("copied: %s (%d units)\n", ansi != NULL ? ansi : "", tmsGetStringLength(greeting));
    free(ansi);
    tmsFreeBSTR(NULL); /* accepted, does nothing */
  }

  printf("%s\n", failures == 0 ? "host: all answers as expected" : "host: FAILED");
  return failures == 0 ? 0 : 1;
}
