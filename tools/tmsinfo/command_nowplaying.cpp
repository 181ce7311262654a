// tmsinfo music / video: the title that a running media player plays.
#include <stdio.h>
#include <string.h>

#include "TolvaricModeSupport.h"
#include "commands.h"

bool ReadPlayingTitle(LibraryLoader& library, void* titleExport, int htmlRefs,
                      PlayingTitle* title) {
  int(TMS_API * getLength)(const TmsWideChar*) = nullptr;
  void(TMS_API * copyString)(const TmsWideChar*, char*) = nullptr;
  void(TMS_API * freeBstr)(TmsBstr) = nullptr;
  if (!FindExport(library, "tmsGetStringLength", &getLength) ||
      !FindExport(library, "tmsCopyString", &copyString) ||
      !FindExport(library, "tmsFreeBSTR", &freeBstr)) {
    return false;
  }
  *title = PlayingTitle();
  const TmsBstr bstr = reinterpret_cast<TmsBstr(TMS_API*)(int)>(titleExport)(htmlRefs);
  if (bstr == nullptr) return true;
  const int length = getLength(bstr);
  title->playing = true;
  title->wide.assign(reinterpret_cast<const char16_t*>(bstr), static_cast<size_t>(length));
  // Up to three bytes per unit covers every code page, UTF-8 included.
  title->ansi.assign(static_cast<size_t>(length) * 3 + 1, '\0');
  copyString(bstr, &title->ansi[0]);
  title->ansi.resize(strlen(title->ansi.c_str()));
  freeBstr(bstr);
  return true;
}

namespace {

int RunNowPlaying(LibraryLoader& library, const char* command, const char* exportName, int argc,
                  char** argv) {
  const bool html = argc == 1 && strcmp(argv[0], "--html") == 0;
  if (argc > 1 || (argc == 1 && !html)) {
    fprintf(stderr, "usage: tmsinfo %s [--html]\n", command);
    return kExitUsage;
  }
  void* titleExport = library.Find(exportName);
  PlayingTitle title;
  if (titleExport == nullptr || !ReadPlayingTitle(library, titleExport, html ? 1 : 0, &title)) {
    fprintf(stderr, "tmsinfo: %s\n", library.error());
    return kExitNoLibrary;
  }
  if (!title.playing) {
    printf("nothing is playing\n");
    return kExitFailure;
  }
  printf("%s\n", title.ansi.c_str());
  return kExitOk;
}

}  // namespace

int RunMusic(LibraryLoader& library, int argc, char** argv) {
  return RunNowPlaying(library, "music", "tmsGetCurrentMusic", argc, argv);
}

int RunVideo(LibraryLoader& library, int argc, char** argv) {
  return RunNowPlaying(library, "video", "tmsGetCurrentVideo", argc, argv);
}
