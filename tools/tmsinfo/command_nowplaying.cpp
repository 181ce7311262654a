// tmsinfo music / video: the title that a running media player plays.
#include <stdio.h>
#include <string.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "commands.h"

namespace {

int RunNowPlaying(LibraryLoader& library, const char* command, const char* exportName, int argc,
                  char** argv) {
  const bool html = argc == 1 && strcmp(argv[0], "--html") == 0;
  if (argc > 1 || (argc == 1 && !html)) {
    fprintf(stderr, "usage: tmsinfo %s [--html]\n", command);
    return kExitUsage;
  }
  TmsBstr(TMS_API * getTitle)(int) = nullptr;
  int(TMS_API * getLength)(const TmsWideChar*) = nullptr;
  void(TMS_API * copyString)(const TmsWideChar*, char*) = nullptr;
  void(TMS_API * freeBstr)(TmsBstr) = nullptr;
  if (!FindExport(library, exportName, &getTitle) ||
      !FindExport(library, "tmsGetStringLength", &getLength) ||
      !FindExport(library, "tmsCopyString", &copyString) ||
      !FindExport(library, "tmsFreeBSTR", &freeBstr)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  TmsBstr title = getTitle(html ? 1 : 0);
  if (title == nullptr) {
    printf("nothing is playing\n");
    return kExitFailure;
  }
  // As an ANSI host does: measure, copy into a buffer of its own, release.
  // Up to three bytes per unit covers every code page, UTF-8 included.
  const int length = getLength(title);
  std::string text(static_cast<size_t>(length) * 3 + 1, '\0');
  copyString(title, &text[0]);
  freeBstr(title);
  printf("%s\n", text.c_str());
  return kExitOk;
}

}  // namespace

int RunMusic(LibraryLoader& library, int argc, char** argv) {
  return RunNowPlaying(library, "music", "tmsGetCurrentMusic", argc, argv);
}

int RunVideo(LibraryLoader& library, int argc, char** argv) {
  return RunNowPlaying(library, "video", "tmsGetCurrentVideo", argc, argv);
}
