// INI text read and edited as the Windows profile functions do it.
#include "platform/posix/ini_text.h"

#include <string.h>

#include "platform/ascii_case.h"

namespace tms::platform::ini {
namespace {

// The profile reader's blanks: white space, carriage return and the old
// end-of-file mark ^Z.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

bool SameName(const char* a, size_t aLength, const char* b, size_t bLength) {
  if (aLength != bLength) return false;
  for (size_t i = 0; i < aLength; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

Span Trim(const char* text, size_t begin, size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return {begin, end - begin};
}

// Where the lines begin: after a UTF-8 byte order mark, if there is one.
size_t BodyStart(const char* text, size_t size) {
  return size >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
}

struct Line {
  size_t start;
  size_t end;   // before the line break
  size_t next;  // after the line break
};

class LineReader {
 public:
  LineReader(const char* text, size_t size)
      : text_(text), size_(size), position_(BodyStart(text, size)) {}

  bool Next(Line* line) {
    if (position_ >= size_) return false;
    size_t end = position_;
    while (end < size_ && text_[end] != '\n') ++end;
    line->start = position_;
    line->next = end < size_ ? end + 1 : size_;
    if (end > position_ && text_[end - 1] == '\r') --end;
    line->end = end;
    position_ = line->next;
    return true;
  }

 private:
  const char* text_;
  size_t size_;
  size_t position_;
};

enum class LineKind : unsigned char { kBlank, kSection, kKey };

struct ParsedLine {
  LineKind kind;
  Span name;
  Span value;  // keys only; empty without '='
};

ParsedLine ParseLine(const char* text, const Line& line) {
  const Span content = Trim(text, line.start, line.end);
  if (content.length == 0) return {LineKind::kBlank, {0, 0}, {0, 0}};
  const size_t end = content.offset + content.length;
  if (text[content.offset] == '[') {
    for (size_t close = end - 1; close > content.offset; --close) {
      if (text[close] == ']') {
        return {LineKind::kSection, {content.offset + 1, close - content.offset - 1}, {0, 0}};
      }
    }
    // Without a ']' the line is an ordinary key line.
  }
  const void* equals = memchr(text + content.offset, '=', content.length);
  if (equals == nullptr) return {LineKind::kKey, content, {end, 0}};
  const size_t equalsAt = static_cast<size_t>(static_cast<const char*>(equals) - text);
  return {LineKind::kKey, Trim(text, content.offset, equalsAt), Trim(text, equalsAt + 1, end)};
}

// A caller's name, without the blanks around it.
Span TrimName(const char* name) {
  return Trim(name, 0, name == nullptr ? 0 : strlen(name));
}

struct Lookup {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine = {0, 0, 0};
  ParsedLine key = {LineKind::kBlank, {0, 0}, {0, 0}};
  size_t afterSectionContent = 0;  // after the section's last non-blank line
};

Lookup Find(const char* text, size_t size, const char* section, const char* key) {
  Lookup found;
  const Span sectionName = TrimName(section);
  const Span keyName = TrimName(key);
  if (sectionName.length == 0) return found;
  LineReader lines(text, size);
  Line line;
  bool inSection = false;
  while (lines.Next(&line)) {
    const ParsedLine parsed = ParseLine(text, line);
    if (parsed.kind == LineKind::kSection) {
      if (inSection) break;
      inSection = SameName(text + parsed.name.offset, parsed.name.length,
                           section + sectionName.offset, sectionName.length);
      if (inSection) {
        found.sectionFound = true;
        found.afterSectionContent = line.next;
      }
      continue;
    }
    if (!inSection || parsed.kind == LineKind::kBlank) continue;
    found.afterSectionContent = line.next;
    if (keyName.length != 0 && SameName(text + parsed.name.offset, parsed.name.length,
                                        key + keyName.offset, keyName.length)) {
      found.keyFound = true;
      found.keyLine = line;
      found.key = parsed;
      break;
    }
  }
  return found;
}

bool UsesLfOnly(const char* text, size_t size) {
  const size_t start = BodyStart(text, size);
  if (start == size) return false;
  const void* lineFeed = memchr(text + start, '\n', size - start);
  if (lineFeed == nullptr) return false;
  const size_t at = static_cast<size_t>(static_cast<const char*>(lineFeed) - text);
  return at == start || text[at - 1] != '\r';
}

// Collects output bytes, or only counts them when there is no buffer.
class Output {
 public:
  explicit Output(char* out) : out_(out) {}
  void Put(const char* bytes, size_t count) {
    if (out_ != nullptr && count != 0) memcpy(out_ + size_, bytes, count);
    size_ += count;
  }
  void Put(const char* text) {
    if (text != nullptr) Put(text, strlen(text));
  }
  size_t size() const { return size_; }

 private:
  char* out_;
  size_t size_ = 0;
};

}  // namespace

bool FindValue(const char* text, size_t size, const char* section, const char* key, Span* value) {
  const Lookup found = Find(text, size, section, key);
  if (!found.keyFound) return false;
  Span result = found.key.value;
  if (result.length >= 2) {
    const char first = text[result.offset];
    if ((first == '"' || first == '\'') && text[result.offset + result.length - 1] == first) {
      result = {result.offset + 1, result.length - 2};
    }
  }
  *value = result;
  return true;
}

WritePlan PlanWrite(const char* text, size_t size, const char* section, const char* key) {
  WritePlan plan = {};
  plan.lfOnly = UsesLfOnly(text, size);
  const Lookup found = Find(text, size, section, key);
  if (found.keyFound) {
    plan.offset = found.keyLine.start;
    plan.removed = found.keyLine.end - found.keyLine.start;
    plan.replacesKey = true;
    plan.keyName = found.key.name;
    return plan;
  }
  plan.offset = found.sectionFound ? found.afterSectionContent : size;
  plan.addsSection = !found.sectionFound;
  plan.breakFirst = plan.offset > BodyStart(text, size) && text[plan.offset - 1] != '\n';
  return plan;
}

size_t ApplyWrite(const WritePlan& plan, const char* text, size_t size, const char* section,
                  const char* key, const char* value, char* out) {
  const char* lineBreak = plan.lfOnly ? "\n" : "\r\n";
  Output output(out);
  output.Put(text, plan.offset);
  if (plan.breakFirst) output.Put(lineBreak);
  // New names are written as they are looked up: without the caller's
  // blanks. A header keeps the blanks inside its brackets, so "[ S ]" would
  // never be found again by the name " S ".
  if (plan.addsSection) {
    const Span sectionName = TrimName(section);
    output.Put("[");
    output.Put(section + sectionName.offset, sectionName.length);
    output.Put("]");
    output.Put(lineBreak);
  }
  if (plan.replacesKey) {
    output.Put(text + plan.keyName.offset, plan.keyName.length);
  } else {
    const Span keyName = TrimName(key);
    output.Put(key + keyName.offset, keyName.length);
  }
  output.Put("=");
  output.Put(value);
  if (!plan.replacesKey) output.Put(lineBreak);
  const size_t kept = plan.offset + plan.removed;
  output.Put(text + kept, size - kept);
  return output.size();
}

}  // namespace tms::platform::ini
