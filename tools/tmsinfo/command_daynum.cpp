// tmsinfo day: the day number of today or of a given date.
#include <stdio.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "commands.h"

namespace {

// Reads YYYY-MM-DD; the library itself judges whether it is a real date.
bool ParseDate(const char* text, TmsSystemTime* date) {
  unsigned year = 0, month = 0, day = 0;
  char rest = 0;
  if (sscanf(text, "%u-%u-%u%c", &year, &month, &day, &rest) != 3) return false;
  if (year > 0xFFFF || month > 0xFFFF || day > 0xFFFF) return false;
  memset(date, 0, sizeof *date);
  date->wYear = static_cast<unsigned short>(year);
  date->wMonth = static_cast<unsigned short>(month);
  date->wDay = static_cast<unsigned short>(day);
  return true;
}

}  // namespace

int RunDay(LibraryLoader& library, int argc, char** argv) {
  TmsSystemTime date;
  if (argc > 1 || (argc == 1 && !ParseDate(argv[0], &date))) {
    fprintf(stderr, "usage: tmsinfo day [YYYY-MM-DD]\n");
    return kExitUsage;
  }
  int dayNumber = 0;
  if (argc == 0) {
    int(TMS_API * getDayNum)(void) = nullptr;
    if (!FindExport(library, "tmsGetDayNum", &getDayNum)) {
      fprintf(stderr, "tmsinfo: %s\n", library.error());
      return kExitNoLibrary;
    }
    dayNumber = getDayNum();
    printf("today: day %d\n", dayNumber);
  } else {
    int(TMS_API * getDayNumEx)(TmsSystemTime*) = nullptr;
    if (!FindExport(library, "tmsGetDayNumEx", &getDayNumEx)) {
      fprintf(stderr, "tmsinfo: %s\n", library.error());
      return kExitNoLibrary;
    }
    dayNumber = getDayNumEx(&date);
    printf("%s: day %d\n", argv[0], dayNumber);
  }
  if (dayNumber == 0) {
    fprintf(stderr, "tmsinfo: no day number (before 2000-07-27, or not a valid date)\n");
    return kExitFailure;
  }
  return kExitOk;
}
