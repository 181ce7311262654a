// The readable name of the host operating system, in a long form
// ("Microsoft Windows XP Professional Service Pack 3 (Build 2600)") and a
// short one ("WinXP Prof SP3 (Build 2600)"), composed from HostVersionFacts.
#pragma once

#include "osname/host_version_facts.h"
#include "platform/types.h"
#include "platform/version_source.h"

namespace tms {

enum class NameForm : unsigned char { kLong, kShort };

// Room the caller's buffer needs, terminator included. The longest long
// name is an 80-character name part, a line break and a 99-character
// service-pack and build part; the longest short name part has 30.
constexpr size_t kLongNameBytes = 182;
constexpr size_t kShortNameBytes = 130;

// Composes the name of the system that `facts` describe into `text`, which
// holds `capacity` bytes with the terminator and is never written past.
// The long form begins with the vendor word "Microsoft " unless
// `omitVendor`; `breakLine` puts "\r\n" before the service pack and build.
// NT names end in "(Build N)" with N the low 16 bits of the build; a
// service-pack text too long for that part to stay within 99 characters is
// cut short. Platforms 0 and 1 have no such part, and other platforms give
// the empty text. A trailing blank of a label is kept. Returns the length.
size_t ComposeHostOSName(const HostVersionFacts& facts, NameForm form, bool omitVendor,
                         bool breakLine, char* text, size_t capacity);

// What the OS-name exports do: gathers the facts from `source`, composes
// the name in `form` and writes it, minus one trailing blank, into `buffer`,
// which holds kLongNameBytes or kShortNameBytes. True; false with
// "Unknown OS" when the version cannot be read; false and nothing written
// for a null buffer.
bool WriteHostOSName(platform::VersionSource& source, NameForm form, bool omitVendor,
                     bool breakLine, char* buffer);

}  // namespace tms
