// The demo host's 8-bit text (command line, texts the library writes) as UTF-16.
#pragma once

#include <string>

// From the active ANSI code page on Windows, from UTF-8 elsewhere (the
// encoding the Linux build of the library uses for "ANSI" text).
std::u16string AnsiToWide(const char* text);
