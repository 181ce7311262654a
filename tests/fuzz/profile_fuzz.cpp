// Fuzzes the INI text functions behind the POSIX profile calls: random files
// of section headers, key lines, comments, blank lines, lines without '=' or
// without ']', quotes, carriage returns, ^Z, a byte order mark and random
// bytes, with names that differ only in letter case and blanks. Every text
// lies in a heap block of exactly its size, without a terminator. A read
// stays inside the text and does not depend on the names' letter case; a
// write changes one line at most, and the key reads back as it does in a
// file of its own. Where a read or write lands is in the INI text tables.

#include <string>

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

// Reads `key` from a block of exactly the text's size; a value found lies
// inside the text.
bool Read(const std::string& text, const std::string& section, const std::string& key,
          std::string* value) {
  ExactBlock block(text, 0);
  ini::Span span = {0, 0};
  if (!ini::FindValue(block.get(), text.size(), section.c_str(), key.c_str(), &span)) return false;
  Check(span.offset <= text.size() && span.length <= text.size() - span.offset);
  *value = text.substr(span.offset, span.length);
  return true;
}

// ASCII letters in the other case: bit 5 tells them apart.
std::string SwappedCase(std::string name) {
  for (char& c : name) {
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') c = static_cast<char>(c ^ 0x20);
  }
  return name;
}

// Names match without regard to ASCII letter case.
void CheckRead(const std::string& text, const std::string& section, const std::string& key) {
  std::string value;
  std::string swapped;
  const bool found = Read(text, section, key, &value);
  Check(Read(text, SwappedCase(section), SwappedCase(key), &swapped) == found);
  Check(!found || swapped == value);
}

// The text after a write of `value` in a block of exactly its size.
std::string Write(const std::string& text, const std::string& section, const std::string& key,
                  const std::string& value, ini::WritePlan* plan) {
  ExactBlock block(text, 0);
  *plan = ini::PlanWrite(block.get(), text.size(), section.c_str(), key.c_str());
  const size_t size = ini::ApplyWrite(*plan, block.get(), text.size(), section.c_str(), key.c_str(),
                                      value.c_str(), nullptr);
  ExactBlock out(size, 0);
  Check(ini::ApplyWrite(*plan, block.get(), text.size(), section.c_str(), key.c_str(),
                        value.c_str(), out.get()) == size);
  return std::string(out.get(), size);
}

// A write replaces bytes of one line at most and keeps every byte before
// and after them; the key then reads back what it reads in a file of its
// own.
void CheckWrite(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value) {
  ini::WritePlan plan;
  const std::string written = Write(text, section, key, value, &plan);
  Check(plan.offset <= text.size() && plan.removed <= text.size() - plan.offset);
  Check(text.find('\n', plan.offset) >= plan.offset + plan.removed);
  const size_t tail = text.size() - plan.offset - plan.removed;
  Check(written.size() >= plan.offset + tail);
  Check(written.compare(0, plan.offset, text, 0, plan.offset) == 0);
  Check(written.compare(written.size() - tail, tail, text, text.size() - tail, tail) == 0);

  ini::WritePlan alonePlan;
  const std::string alone = Write("", section, key, value, &alonePlan);
  std::string readBack;
  std::string readAlone;
  Check(Read(written, section, key, &readBack));
  Check(Read(alone, section, key, &readAlone));
  Check(readBack == readAlone);
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
