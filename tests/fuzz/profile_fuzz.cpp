// Fuzzes the INI text functions behind the POSIX profile calls: random files
// of section headers, key lines, comments, blank lines, lines without '=' or
// without ']', quotes, carriage returns, ^Z, a byte order mark and random
// bytes, with names that differ only in letter case and blanks. Every text
// lies in a heap block of exactly its size, without a terminator. A read
// finds what a small model of the rules finds (names without regard to
// ASCII case, first section and first key win); after a write every line
// but the key's is byte-identical, a new key follows the last non-blank line
// of its section, a new section goes at the end, and the key reads back
// with the written value.
#include <string.h>

#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "platform/posix/ini_text.h"

namespace {

namespace ini = tms::platform::ini;
using tms::fuzz::Check;
using tms::fuzz::ExactBlock;
using tms::fuzz::FuzzInput;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// A name the caller may give: never empty once trimmed, and without the
// bytes that end a name or a line.
std::string PickName(FuzzInput& input) {
  const char* const known[] = {
      "Custom Colors", "CUSTOM colors", "Color 3", "color 3", "  Color 3\t", "a", "A", "b"};
  if (input.Flag()) return input.Pick(known);
  std::string name = input.Text(8);
  for (char& c : name) {
    if (c == '=' || c == '\n' || c == '[' || c == ']') c = 'x';
  }
  return name + "k";
}

std::string PickValue(FuzzInput& input) {
  std::string value = input.Text(16);
  for (char& c : value) {
    if (c == '\n') c = '\'';
  }
  return input.Byte() % 4 == 0 ? "\"" + value + "\"" : value;
}

std::string PickText(FuzzInput& input) {
  std::string text = input.Byte() % 8 == 0 ? kByteOrderMark : "";
  for (int lines = input.Byte() % 12; lines > 0; --lines) {
    const char* const blanks[] = {"", " ", "\t ", "\x1A", "\r"};
    text += input.Pick(blanks);
    switch (input.Byte() % 6) {
      case 0:
        text += "[" + PickName(input) + (input.Flag() ? "]" : "] ; note");
        break;
      case 1:
        text += PickName(input) + input.Pick(blanks) + "=" + PickValue(input);
        break;
      case 2:
        text += input.Flag() ? ";" + PickName(input) + "=1" : PickName(input);
        break;
      case 3:
        text += "[" + PickName(input);
        break;
      case 4:
        break;
      default:
        text += input.Bytes(16);
        break;
    }
    const char* const breaks[] = {"\r\n", "\r\n", "\n", "\r", "\r\r\n"};
    text += lines > 1 || input.Flag() ? input.Pick(breaks) : "";
  }
  return text;
}

bool IsBlank(char c) {
  return c != 0 && strchr(" \t\n\v\f\r\x1A", c) != nullptr;
}

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Folded(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

// A value as a read gives it: without surrounding blanks and without one
// pair of enclosing quotes.
std::string ReadBack(const std::string& value) {
  const std::string trimmed = Trim(value);
  const char first = trimmed.empty() ? 0 : trimmed[0];
  if (trimmed.size() >= 2 && (first == '"' || first == '\'') && trimmed.back() == first) {
    return trimmed.substr(1, trimmed.size() - 2);
  }
  return trimmed;
}

size_t BodyStart(const std::string& text) {
  return text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
}

// The lines after the byte order mark, each with its line break.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = BodyStart(text); at < text.size();) {
    const size_t end = text.find('\n', at);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(at, next - at));
    at = next;
  }
  return lines;
}

std::string LineBreak(const std::string& line) {
  if (line.empty() || line.back() != '\n') return "";
  return line.size() >= 2 && line[line.size() - 2] == '\r' ? "\r\n" : "\n";
}

struct Model {
  bool sectionFound = false;
  bool keyFound = false;
  size_t keyLine = 0;
  size_t afterSection = 0;  // the line after the section's last non-blank one
  std::string value;
};

Model Lookup(const std::vector<std::string>& lines, const std::string& section,
             const std::string& key) {
  Model found;
  const std::string sectionName = Folded(Trim(section));
  const std::string keyName = Folded(Trim(key));
  bool inSection = false;
  for (size_t i = 0; i < lines.size() && !sectionName.empty(); ++i) {
    std::string line = lines[i].substr(0, lines[i].find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = Trim(line);
    if (line.empty()) continue;
    const size_t close = line.rfind(']');
    if (line[0] == '[' && close != std::string::npos && close > 0) {
      if (inSection) break;
      inSection = Folded(line.substr(1, close - 1)) == sectionName;
      if (inSection) found.sectionFound = true, found.afterSection = i + 1;
      continue;
    }
    if (!inSection) continue;
    found.afterSection = i + 1;
    const size_t equals = line.find('=');
    if (keyName.empty() || Folded(Trim(line.substr(0, equals))) != keyName) continue;
    found.keyFound = true;
    found.keyLine = i;
    found.value = equals == std::string::npos ? "" : ReadBack(line.substr(equals + 1));
    break;
  }
  return found;
}

// Reads `key` from a block of exactly the text's size and holds the result
// to the model's.
Model CheckRead(const std::string& text, const std::string& section, const std::string& key) {
  const Model expected = Lookup(Lines(text), section, key);
  ExactBlock block(text.size(), 0);
  if (!text.empty()) memcpy(block.get(), text.data(), text.size());
  ini::Span value = {0, 0};
  Check(ini::FindValue(block.get(), text.size(), section.c_str(), key.c_str(), &value) ==
        expected.keyFound);
  if (expected.keyFound) {
    Check(value.offset <= text.size() && value.length <= text.size() - value.offset);
    Check(text.compare(value.offset, value.length, expected.value) == 0);
  }
  return expected;
}

bool SameLinesFrom(const std::vector<std::string>& a, size_t aFrom,
                   const std::vector<std::string>& b, size_t bFrom) {
  return a.size() - aFrom == b.size() - bFrom &&
         std::equal(a.begin() + aFrom, a.end(), b.begin() + bFrom);
}

void CheckWrite(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value) {
  const Model before = CheckRead(text, section, key);
  ExactBlock block(text.size(), 0);
  if (!text.empty()) memcpy(block.get(), text.data(), text.size());
  const ini::WritePlan plan =
      ini::PlanWrite(block.get(), text.size(), section.c_str(), key.c_str());
  const size_t size = ini::ApplyWrite(plan, block.get(), text.size(), section.c_str(), key.c_str(),
                                      value.c_str(), nullptr);
  ExactBlock out(size, 0);
  Check(ini::ApplyWrite(plan, block.get(), text.size(), section.c_str(), key.c_str(), value.c_str(),
                        out.get()) == size);
  const std::string written(out.get(), size);
  Check(BodyStart(written) == BodyStart(text));

  const std::vector<std::string> old = Lines(text);
  const std::vector<std::string> now = Lines(written);
  if (before.keyFound) {
    // Only the key's line changed, and it kept its line break.
    const size_t i = before.keyLine;
    Check(now.size() == old.size() && std::equal(old.begin(), old.begin() + i, now.begin()));
    Check(SameLinesFrom(old, i + 1, now, i + 1));
    const std::string lineBreak = LineBreak(old[i]);
    Check(now[i].size() >= lineBreak.size() &&
          now[i].compare(now[i].size() - lineBreak.size(), lineBreak.size(), lineBreak) == 0);
  } else {
    // The new lines go in at `at`; the line before may gain the line break
    // it lacked at the end of the text.
    const size_t at = before.sectionFound ? before.afterSection : old.size();
    const size_t added = before.sectionFound ? 1 : 2;
    Check(now.size() == old.size() + added && SameLinesFrom(old, at, now, at + added));
    for (size_t i = 0; i < at; ++i) {
      Check(now[i] == old[i] || (i + 1 == old.size() && old[i].back() != '\n' &&
                                 (now[i] == old[i] + "\n" || now[i] == old[i] + "\r\n")));
    }
  }
  const Model after = CheckRead(written, section, key);
  Check(after.keyFound && after.value == ReadBack(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const std::string text = PickText(input);
  while (!input.empty()) {
    if (input.Flag()) {
      // Any names, empty or blank ones too.
      const std::string section = input.Flag() ? PickName(input) : input.Text(8);
      CheckRead(text, section, input.Flag() ? PickName(input) : input.Text(8));
    } else {
      const std::string section = PickName(input);
      const std::string key = PickName(input);
      CheckWrite(text, section, key, PickValue(input));
    }
  }
  return 0;
}
