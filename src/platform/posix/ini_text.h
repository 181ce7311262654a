// INI text read and edited as the Windows profile functions do it, over a
// byte buffer and without any system call.
//
// Lines end at "\n" (a "\r" before it belongs to the line break). A line
// whose first non-blank byte is '[' and which holds a ']' starts a section,
// named by the bytes between the '[' and the last ']'. Any other non-blank
// line is a key: its name runs up to the first '=' and its value follows
// it, both without surrounding blanks; a line without '=' is a key with an
// empty value. Lines before the first section belong to no section. Names
// are compared without regard to ASCII case, and only the first section and
// the first key of a name count. A leading UTF-8 byte order mark is skipped.
#pragma once

#include <stddef.h>

namespace tms::platform::ini {

struct Span {
  size_t offset;
  size_t length;
};

// Finds the value of `key` in `section`: true, with the value's bytes (less
// one pair of enclosing quotes, as in "0x12" or '0x12'), when the key
// exists. Names given with surrounding blanks match without them.
bool FindValue(const char* text, size_t size, const char* section, const char* key, Span* value);

// How setting a key changes the text: the `removed` bytes at `offset` give
// way to new bytes and every other byte stays.
struct WritePlan {
  size_t offset;
  size_t removed;
  bool replacesKey;  // the first line of the key gets the new value
  Span keyName;      // ...keeping the name as the file spells it
  bool addsSection;  // otherwise a section header goes before the new key line
  bool breakFirst;   // the line before `offset` ends the text without a line break
  bool lfOnly;       // the text ends its lines with "\n" alone, not "\r\n"
};

// A key that exists has its line rewritten in place as "name=value". A new
// key goes after the last non-blank line of its section, so that blank
// lines before the next section stay there; a new section goes at the end.
WritePlan PlanWrite(const char* text, size_t size, const char* section, const char* key);

// Writes the text as it is after the write into `out` and returns its size;
// with a null `out` it only measures. A new section or key gets the name
// without the caller's surrounding blanks, as it is looked up.
size_t ApplyWrite(const WritePlan& plan, const char* text, size_t size, const char* section,
                  const char* key, const char* value, char* out);

}  // namespace tms::platform::ini
