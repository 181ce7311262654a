// INI text read and edited with the Windows profile functions' rules.
#include "platform/posix/ini_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/ini_edit_cases.h"

namespace tms::platform::ini {
namespace {

// The value as text, or "<none>" when the key is missing.
std::string Read(const std::string& text, const char* section, const char* key) {
  Span value;
  if (!FindValue(text.data(), text.size(), section, key, &value)) return "<none>";
  return text.substr(value.offset, value.length);
}

std::string Write(const std::string& text, const char* section, const char* key,
                  const char* value) {
  const WritePlan plan = PlanWrite(text.data(), text.size(), section, key);
  std::string out(ApplyWrite(plan, text.data(), text.size(), section, key, value, nullptr), '?');
  EXPECT_EQ(ApplyWrite(plan, text.data(), text.size(), section, key, value, &out[0]), out.size());
  return out;
}

TEST(IniText, FindsValuesAsTheProfileReaderDoes) {
  const struct {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    const char* expected;
  } rows[] = {
      {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
      {"names ignore case", "[sEcTiOn]\nKEY=v\n", "Section", "key", "v"},
      {"caller's blanks ignored", "[S]\nk=v\n", " S ", " k\t", "v"},
      {"blanks around name and value", "[S]\n  k \t=  v w  \r\n", "S", "k", "v w"},
      {"^Z is a blank", "[S]\n\x1Ak\x1A=\x1Av\x1A\n", "S", "k", "v"},
      {"double quotes dropped", "[S]\nk=\"0x10\"\n", "S", "k", "0x10"},
      {"single quotes dropped", "[S]\nk= '7' \n", "S", "k", "7"},
      {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
      {"two quotes: empty value", "[S]\nk=\"\"\n", "S", "k", ""},
      {"unmatched quotes kept", "[S]\nk=\"7'\n", "S", "k", "\"7'"},
      {"empty value", "[S]\nk=\n", "S", "k", ""},
      {"no equals sign: empty value", "[S]\nk\n", "S", "k", ""},
      {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"first section wins", "[S]\nother=1\n[s]\nk=2\n", "S", "k", "<none>"},
      {"other section", "[T]\nk=1\n[S]\nj=2\n", "S", "k", "<none>"},
      {"before any section", "k=1\n[S]\n", "S", "k", "<none>"},
      {"section name is not trimmed", "[ S ]\nk=1\n", "S", "k", "<none>"},
      {"text after the last bracket", "[S] ; note\nk=1\n", "S", "k", "1"},
      {"header without bracket is a key", "[S]\n[T\nk=1\n", "S", "k", "1"},
      {"comment is a key of its own", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
      {"blank lines between", "[S]\n\n\r\n  \nk=1\n", "S", "k", "1"},
      {"no final line break", "[S]\nk=1", "S", "k", "1"},
      {"carriage returns alone do not end lines", "[S]\rk=1\n", "S", "k", "<none>"},
      {"byte order mark", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
      {"equals sign in value", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"empty text", "", "S", "k", "<none>"},
      {"empty key never found", "[S]\n=1\n", "S", "", "<none>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Read(row.text, row.section, row.key), row.expected);
  }
}

TEST(IniText, WriteChangesOnlyItsOwnLineOrAddsOne) {
  for (const testing::IniEditCase& row : testing::kIniEditCases) {
    SCOPED_TRACE(row.name);
    const std::string before = row.before != nullptr ? row.before : "";
    EXPECT_EQ(Write(before, row.section, row.key, row.value), row.after);
  }
}

}  // namespace
}  // namespace tms::platform::ini
