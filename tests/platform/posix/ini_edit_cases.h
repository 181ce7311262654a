// Edits of INI text, shared by the text rules (ini_text_test.cpp) and the
// POSIX settings store, which makes them in place of a real file's bytes.
#pragma once

namespace tms::testing {

struct IniEditCase {
  const char* name;
  const char* before;  // null: no file yet (empty text)
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

inline constexpr IniEditCase kIniEditCases[] = {
    {"new file", "", "S", "k", "V", "[S]\r\nk=V\r\n"},
    {"no file yet", nullptr, "S", "k", "7", "[S]\r\nk=7\r\n"},
    {"replaces in place, keeps the file's spelling", "[s]\r\n  K  =  old  \r\nx=1\r\n", "S", "k",
     "V", "[s]\r\nK=V\r\nx=1\r\n"},
    {"shrinks the text", "[S]\r\nk=  0x000000FF0000  \r\n[T]\r\n", "S", "k", "1",
     "[S]\r\nk=1\r\n[T]\r\n"},
    {"grows the text", "[S]\r\nk=1\r\n[T]\r\n", "S", "k", "123456", "[S]\r\nk=123456\r\n[T]\r\n"},
    {"replaces the first of two", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "V", "[S]\r\nk=V\r\nk=2\r\n"},
    {"key without equals sign", "[S]\r\nk\r\n", "S", "k", "V", "[S]\r\nk=V\r\n"},
    {"last line without break", "[S]\r\nk=1", "S", "k", "V", "[S]\r\nk=V"},
    {"last line without a break, shorter", "[S]\r\nk=12345", "S", "k", "1", "[S]\r\nk=1"},
    {"last line without a break, longer", "[S]\r\nk=1", "S", "k", "12345", "[S]\r\nk=12345"},
    {"adds after the section's last line, before blank lines", "[S]\r\na=1\r\n\r\n[T]\r\n", "S",
     "k", "V", "[S]\r\na=1\r\nk=V\r\n\r\n[T]\r\n"},
    {"adds to an empty section", "[S]\r\n[T]\r\n", "S", "k", "V", "[S]\r\nk=V\r\n[T]\r\n"},
    {"adds after a comment", "[S]\r\n; note\r\n", "S", "k", "V", "[S]\r\n; note\r\nk=V\r\n"},
    {"adds at an unterminated end", "[S]\r\na=1", "S", "k", "V", "[S]\r\na=1\r\nk=V\r\n"},
    {"adds a section at the end", "[T]\r\na=1\r\n\r\n", "S", "k", "V",
     "[T]\r\na=1\r\n\r\n[S]\r\nk=V\r\n"},
    {"adds a section after an unterminated end", "[T]\r\na=1", "S", "k", "V",
     "[T]\r\na=1\r\n[S]\r\nk=V\r\n"},
    {"keeps line feeds alone", "[T]\na=1\n", "S", "k", "V", "[T]\na=1\n[S]\nk=V\n"},
    {"only the first section", "[S]\r\na=1\r\n[S]\r\nk=1\r\n", "S", "k", "V",
     "[S]\r\na=1\r\nk=V\r\n[S]\r\nk=1\r\n"},
    {"byte order mark stays", "\xEF\xBB\xBF", "S", "k", "V", "\xEF\xBB\xBF[S]\r\nk=V\r\n"},
    // A section header keeps its blanks, so a new one must not get the
    // caller's, or it would never be found and every write would add one.
    {"new names without the caller's blanks", "", "\vS ", " k\t", "V", "[S]\r\nk=V\r\n"},
};

}  // namespace tms::testing
