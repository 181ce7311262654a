// Names for backup copies: a file's whole path flattened into one file name,
// and the full path of the backup copy in a backup folder. Texts are ANSI and
// handled byte by byte, the bytes of double-byte characters included.
#pragma once

#include "platform/memory.h"
#include "platform/types.h"

namespace tms {

// Writes `source` with every ':' and '\' turned into '~' into `destination`.
// `capacity` must be at least the length of `source` plus 2 (one byte more
// than the name and its terminator take). True when written; false, writing
// nothing, when the capacity is too small or a pointer is null.
// Example: "C:\Docs\page.htm" gives "C~~Docs~page.htm".
bool FlattenFileName(const char* source, char* destination, uint32_t capacity);

// Writes `folder`, a backslash unless `folder` already ends in one, and the
// flattened `source` into `destination`. `capacity` (signed: a negative one
// always fails) must be at least the lengths of `folder` and `source` plus 2,
// whether or not the backslash is added. True when written; false, writing
// nothing, when the capacity is too small, a pointer is null or the scratch
// buffer cannot be had. Example: "D:\Backup" and "C:\Docs\a.htm" give
// "D:\Backup\C~~Docs~a.htm"; an empty folder gives "\C~~Docs~a.htm".
bool MakeBackupPath(platform::Memory& memory, const char* folder, const char* source,
                    char* destination, int32_t capacity);

}  // namespace tms
