// The demo host's commands; each takes the loaded library and its arguments.
#pragma once

#include <string>

#include "library_loader.h"

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoLibrary = 3;

// Finds an export as a typed function pointer, reporting a missing one.
template <typename Function>
bool FindExport(LibraryLoader& library, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(library.Find(name));
  return *function != nullptr;
}

// A now-playing title as a host takes the BSTR over: its UTF-16 units, its
// ANSI copy (measured, then copied into a buffer of the host's own), and
// the BSTR released once.
struct PlayingTitle {
  bool playing = false;
  std::u16string wide;
  std::string ansi;
};
// Calls the now-playing export at `titleExport`; false when a string
// service it needs is missing.
bool ReadPlayingTitle(LibraryLoader& library, void* titleExport, int htmlRefs,
                      PlayingTitle* title);

int RunVersion(LibraryLoader& library, int argc, char** argv);
int RunCopy(LibraryLoader& library, int argc, char** argv);
int RunDay(LibraryLoader& library, int argc, char** argv);
int RunFlatten(LibraryLoader& library, int argc, char** argv);
int RunBackup(LibraryLoader& library, int argc, char** argv);
int RunOs(LibraryLoader& library, int argc, char** argv);
int RunColor(LibraryLoader& library, int argc, char** argv);
int RunMusic(LibraryLoader& library, int argc, char** argv);
int RunVideo(LibraryLoader& library, int argc, char** argv);
int RunAll(LibraryLoader& library, int argc, char** argv);
