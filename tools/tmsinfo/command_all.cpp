// tmsinfo all: one report of everything the library can say about this
// machine, as aligned text or, with --json, as one JSON object for scripts.
#include <stdio.h>
#include <string.h>

#include <string>

#include "TolvaricModeSupport.h"
#include "ansi_text.h"
#include "commands.h"

namespace {

// How a fact is read; each kind knows the signature of its export.
enum class FactKind {
  kVersion,      // DllGetVersion
  kOsName,       // tmsGetHostOSName, no flags
  kOsNameShort,  // tmsGetHostOSNameShort
  kDayNumber,    // tmsGetDayNum
  kTitle,        // tmsGetCurrentMusic / tmsGetCurrentVideo: a BSTR or null
  kDialog,       // tmsGetHTMLColor: only looked up, never called (it opens a dialog)
};

struct Fact {
  const char* key;    // JSON member
  const char* label;  // text report
  FactKind kind;
  const char* exportName;
};

// One row per fact, in report order.
const Fact kFacts[] = {
    {"libraryVersion", "library version", FactKind::kVersion, "DllGetVersion"},
    {"osName", "OS name", FactKind::kOsName, "tmsGetHostOSName"},
    {"osNameShort", "OS name (short)", FactKind::kOsNameShort, "tmsGetHostOSNameShort"},
    {"dayNumber", "day number today", FactKind::kDayNumber, "tmsGetDayNum"},
    {"music", "music", FactKind::kTitle, "tmsGetCurrentMusic"},
    {"video", "video", FactKind::kTitle, "tmsGetCurrentVideo"},
    {"colorPicker", "colour picker", FactKind::kDialog, "tmsGetHTMLColor"},
};

enum class Outcome { kRead, kFailed, kNoExport };

// What one fact came to: a text (held as ANSI for the text report and as
// UTF-16 for JSON), a number, or nothing.
struct FactValue {
  Outcome outcome = Outcome::kRead;
  enum class Type { kText, kNumber, kNull } type = Type::kNull;
  std::string ansi;
  std::u16string wide;
  long number = 0;
  const char* note = "";  // why it failed, or what null means
};

FactValue AnsiText(const char* text) {
  FactValue value;
  value.type = FactValue::Type::kText;
  value.ansi = text;
  value.wide = AnsiToWide(text);
  return value;
}

FactValue ReadVersion(void* entry) {
  auto getVersion = reinterpret_cast<TmsResult(TMS_API*)(TmsDllVersionInfo*)>(entry);
  TmsDllVersionInfo info;
  memset(&info, 0, sizeof info);
  info.cbSize = TMS_DLL_VERSION_INFO_SIZE;
  if (getVersion(&info) != TMS_S_OK) {
    FactValue value;
    value.outcome = Outcome::kFailed;
    value.note = "DllGetVersion refused the record";
    return value;
  }
  char text[48];
  snprintf(text, sizeof text, "%lu.%lu.%lu", static_cast<unsigned long>(info.dwMajorVersion),
           static_cast<unsigned long>(info.dwMinorVersion),
           static_cast<unsigned long>(info.dwBuildNumber));
  return AnsiText(text);
}

FactValue ReadOsName(void* entry, FactKind kind) {
  char name[TMS_OS_NAME_SIZE] = {};
  int result = 0;
  if (kind == FactKind::kOsName) {
    result = reinterpret_cast<int(TMS_API*)(char*, int, int)>(entry)(name, 0, 0);
  } else {
    result = reinterpret_cast<int(TMS_API*)(char*)>(entry)(name);
  }
  FactValue value = AnsiText(name);
  if (result == 0) {
    value.outcome = Outcome::kFailed;
    value.note = "the system's version could not be read";
  }
  return value;
}

FactValue ReadDayNumber(void* entry) {
  FactValue value;
  value.type = FactValue::Type::kNumber;
  value.number = reinterpret_cast<int(TMS_API*)(void)>(entry)();
  if (value.number == 0) {
    value.outcome = Outcome::kFailed;
    value.note = "the local date has no day number";
  }
  return value;
}

// A title: the JSON form takes its UTF-16 as it is, the text report its
// ANSI copy.
FactValue ReadTitle(LibraryLoader& library, void* entry) {
  FactValue value;
  PlayingTitle title;
  if (!ReadPlayingTitle(library, entry, 0, &title)) {
    value.outcome = Outcome::kNoExport;
    value.note = "a string service is missing";
    return value;
  }
  if (!title.playing) {
    value.note = "nothing playing";
    return value;
  }
  value.type = FactValue::Type::kText;
  value.wide = title.wide;
  value.ansi = title.ansi;
  return value;
}

FactValue ReadFact(LibraryLoader& library, const Fact& fact) {
  void* entry = library.Find(fact.exportName);
  if (entry == nullptr) {
    FactValue value;
    value.outcome = Outcome::kNoExport;
    value.note = "the library has no such export";
    return value;
  }
  switch (fact.kind) {
    case FactKind::kVersion:
      return ReadVersion(entry);
    case FactKind::kOsName:
    case FactKind::kOsNameShort:
      return ReadOsName(entry, fact.kind);
    case FactKind::kDayNumber:
      return ReadDayNumber(entry);
    case FactKind::kTitle:
      return ReadTitle(library, entry);
    case FactKind::kDialog:
      return AnsiText("available (not called here: it opens the colour dialog)");
  }
  return FactValue{};
}

// JSON text is kept to ASCII: every other UTF-16 unit is written as \uXXXX,
// surrogate pairs as their two units and a lone surrogate as U+FFFD.
void PrintJsonString(const std::u16string& text) {
  putchar('"');
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t unit = text[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      printf("\\u%04x\\u%04x", static_cast<unsigned>(unit), static_cast<unsigned>(text[i + 1]));
      ++i;
      continue;
    }
    if (high || low) unit = 0xFFFD;
    if (unit == '"' || unit == '\\') {
      printf("\\%c", static_cast<char>(unit));
    } else if (unit < 0x20 || unit >= 0x7F) {
      printf("\\u%04x", static_cast<unsigned>(unit));
    } else {
      putchar(static_cast<char>(unit));
    }
  }
  putchar('"');
}

void PrintJson(const FactValue* values) {
  printf("{\n");
  for (size_t i = 0; i < sizeof kFacts / sizeof kFacts[0]; ++i) {
    printf("  \"%s\": ", kFacts[i].key);
    const FactValue& value = values[i];
    if (value.outcome == Outcome::kNoExport || value.type == FactValue::Type::kNull) {
      printf("null");
    } else if (value.type == FactValue::Type::kNumber) {
      printf("%ld", value.number);
    } else {
      PrintJsonString(value.wide);
    }
    printf(",\n");
  }
  // Every fact that could not be read, with the reason.
  printf("  \"failures\": {");
  const char* separator = "\n";
  for (size_t i = 0; i < sizeof kFacts / sizeof kFacts[0]; ++i) {
    if (values[i].outcome == Outcome::kRead) continue;
    printf("%s    \"%s\": ", separator, kFacts[i].key);
    PrintJsonString(AnsiToWide(values[i].note));
    separator = ",\n";
  }
  printf("%s}\n}\n", separator[0] == ',' ? "\n  " : "");
}

void PrintText(const FactValue* values) {
  for (size_t i = 0; i < sizeof kFacts / sizeof kFacts[0]; ++i) {
    const FactValue& value = values[i];
    printf("%-18s ", kFacts[i].label);
    if (value.type == FactValue::Type::kNumber) {
      printf("%ld", value.number);
    } else if (value.type == FactValue::Type::kText) {
      printf("%s", value.ansi.c_str());
    }
    if (value.outcome != Outcome::kRead) {
      printf("%s[failed: %s]", value.type == FactValue::Type::kNull ? "" : "  ", value.note);
    } else if (value.type == FactValue::Type::kNull) {
      printf("(%s)", value.note);
    }
    putchar('\n');
  }
}

}  // namespace

int RunAll(LibraryLoader& library, int argc, char** argv) {
  bool json = false;
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "--json") != 0) {
      fprintf(stderr, "usage: tmsinfo all [--json]\n");
      return kExitUsage;
    }
    json = true;
  }
  FactValue values[sizeof kFacts / sizeof kFacts[0]];
  int exitCode = kExitOk;
  for (size_t i = 0; i < sizeof kFacts / sizeof kFacts[0]; ++i) {
    values[i] = ReadFact(library, kFacts[i]);
    if (values[i].outcome == Outcome::kNoExport) {
      exitCode = kExitNoLibrary;
    } else if (values[i].outcome == Outcome::kFailed && exitCode == kExitOk) {
      exitCode = kExitFailure;
    }
  }
  if (json) {
    PrintJson(values);
  } else {
    PrintText(values);
  }
  return exitCode;
}
