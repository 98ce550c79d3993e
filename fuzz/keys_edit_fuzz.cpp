// Arbitrary settings files and keys to set, edited in memory as the keys tool
// edits a file. The first byte chooses the keys (bits 0 to 4, in load order),
// one byte for each chosen key its code; the rest is the file. Checked on
// every input: the plug-in's load of the result holds the codes set and, for
// every other key, the code it held before; every line of the file but the
// lines that count for the keys set is kept byte for byte, in order, with only
// whole added lines of the keys set (and their section) between them; a line
// that counts keeps its bytes up to "="; the encoding's mark and the line ends
// stay. And the reader's walk, whose places the edit changes, places each line
// where its bytes read as the line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/settings_keys.h"
#include "config/utf16_text.h"
#include "fuzz/line_walk_checks.h"
#include "fuzz/require.h"
#include "keys_tool/settings_edit.h"

namespace {

using namespace sashcaster;

using fuzz::require;

constexpr std::array<std::uint32_t, 6> largeCodes{255, 1000, 65535, 2147483647, 0, 1};

std::uint32_t codeOf(std::uint8_t byte) {
  return byte < 250 ? byte : largeCodes[byte - 250U];
}

Settings loaded(std::string_view bytes) {
  IniStructure document;
  parseIniBytes(bytes, document);
  Settings keys;
  loadSettingsKeys(document, keys);
  return keys;
}

// A file's lines as stored, after its mark, split at its line feeds (16-bit
// ones after a UTF-16 mark), without them; a last odd byte of a UTF-16 file
// is left out.
struct RawLines {
  std::size_t mark = 0;
  std::size_t unit = 1;
  bool big = false;
  std::vector<std::string_view> lines;
  std::string_view oddByte;
};

// Whether the unit at that byte offset is the ASCII character.
bool unitIs(std::string_view bytes, std::size_t at, char ascii, const RawLines& raw) {
  if (raw.unit == 1) {
    return bytes[at] == ascii;
  }
  return bytes[at + (raw.big ? 1 : 0)] == ascii && bytes[at + (raw.big ? 0 : 1)] == '\0';
}

RawLines rawLines(std::string_view bytes) {
  RawLines raw;
  if (startsWithUtf16Mark(bytes)) {
    raw.mark = 2;
    raw.unit = 2;
    raw.oddByte = bytes.substr(bytes.size() - (bytes.size() % 2));
    bytes = bytes.substr(0, bytes.size() - raw.oddByte.size());
    // A byte-order mark after the UTF-16 one is dropped by the reader too.
    if (bytes.substr(2, 2) == (bytes.starts_with("\xFE\xFF") ? "\xFE\xFF" : "\xFF\xFE")) {
      raw.mark = 4;
    }
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    raw.mark = 3;
  }
  raw.big = bytes.starts_with("\xFE\xFF");
  std::size_t start = raw.mark;
  for (std::size_t at = raw.mark; at + raw.unit <= bytes.size(); at += raw.unit) {
    if (unitIs(bytes, at, '\n', raw)) {
      raw.lines.push_back(bytes.substr(start, at - start));
      start = at + raw.unit;
    }
  }
  raw.lines.push_back(bytes.substr(start));
  return raw;
}

// The line as ASCII text, when every unit of it is ASCII.
std::optional<std::string> ascii(std::string_view line, const RawLines& raw) {
  std::string text;
  for (std::size_t at = 0; at + raw.unit <= line.size(); at += raw.unit) {
    const char low = raw.unit == 1 ? line[at] : line[at + (raw.big ? 1 : 0)];
    const char high = raw.unit == 1 ? '\0' : line[at + (raw.big ? 0 : 1)];
    if (high != '\0' || static_cast<unsigned char>(low) >= 0x80) {
      return std::nullopt;
    }
    text += low;
  }
  return text;
}

// The lines that count for each key: the last of that key under a
// [Sashcaster] header, as the plug-in's parse takes them.
std::array<std::optional<std::size_t>, 5> countingLines(const std::vector<std::string>& lines) {
  std::array<std::optional<std::size_t>, 5> counting;
  bool inSection = false;
  std::pair<std::string, std::string> pair;
  for (std::size_t number = 0; number < lines.size(); ++number) {
    const IniLineKind kind = classifyLine(lines[number], pair);
    inSection = kind == IniLineKind::SectionHeader ? pair.first == settingsSectionName : inSection;
    for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
      if (kind == IniLineKind::KeyValue && inSection && pair.first == settingsKeys[index].name) {
        counting[index] = number;
      }
    }
  }
  return counting;
}

std::string_view withoutReturns(std::string_view line, const RawLines& raw) {
  while (line.size() >= raw.unit && unitIs(line, line.size() - raw.unit, '\r', raw)) {
    line.remove_suffix(raw.unit);
  }
  return line;
}

// An added line: the section's header or a line of a key set, with its code.
bool addedLine(std::string_view line, const RawLines& raw, const keys_tool::KeyCodes& codes) {
  const std::optional<std::string> text = ascii(withoutReturns(line, raw), raw);
  if (!text) {
    return false;
  }
  if (*text == "[Sashcaster]") {
    return true;
  }
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (codes[index] &&
        *text == std::string(settingsKeys[index].name) + "=" + std::to_string(*codes[index])) {
      return true;
    }
  }
  return false;
}

// The line end that added lines take: CR LF unless the file's first line
// ends in a line feed alone.
bool crLfFile(const RawLines& raw) {
  return raw.lines.size() < 2 || raw.lines[0].size() != withoutReturns(raw.lines[0], raw).size();
}

std::size_t returnsAtEnd(std::string_view line, const RawLines& raw) {
  return line.size() - withoutReturns(line, raw).size();
}

// A line that counts for a key set: its bytes up to "=" and its carriage
// returns at the end stay. Any other line stays byte for byte; the file's
// last line, when it had no line end, may get one.
bool keptAs(std::string_view old, std::string_view now, bool counting, bool lastOpen,
            const RawLines& raw) {
  if (counting) {
    std::size_t equals = 0;
    while (equals + raw.unit <= old.size() && !unitIs(old, equals, '=', raw)) {
      equals += raw.unit;
    }
    return now.starts_with(old.substr(0, equals + raw.unit)) &&
           (lastOpen || returnsAtEnd(old, raw) == returnsAtEnd(now, raw));
  }
  return lastOpen ? withoutReturns(old, raw) == withoutReturns(now, raw) : old == now;
}

void requireLinesKept(std::string_view before, std::string_view after,
                      const keys_tool::KeyCodes& codes) {
  const RawLines old = rawLines(before);
  const RawLines now = rawLines(after);
  require(after.substr(0, old.mark) == before.substr(0, old.mark), "the encoding's mark stays");
  require(now.oddByte == old.oddByte, "a last odd byte stays the last byte");
  const std::vector<std::string> readerLines = splitIniLines(before);
  const std::array<std::optional<std::size_t>, 5> counting = countingLines(readerLines);
  const bool crLf = crLfFile(old);
  const std::size_t lineCount = readerLines.empty() ? 0 : old.lines.size();
  std::size_t next = 0;
  const auto requireAdded = [&](std::size_t at) {
    require(addedLine(now.lines[at], now, codes), "only lines of keys set are added");
    const bool fed = at + 1 < now.lines.size();
    require(!fed || returnsAtEnd(now.lines[at], now) == (crLf ? now.unit : 0),
            "added lines end as the file's lines do");
  };
  for (std::size_t line = 0; line < lineCount; ++line) {
    bool changed = false;
    for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
      changed = changed || (codes[index] && counting[index] == line);
    }
    const bool lastOpen = line + 1 == old.lines.size();
    while (next < now.lines.size() &&
           !keptAs(old.lines[line], now.lines[next], changed, lastOpen, old)) {
      requireAdded(next++);
    }
    require(next < now.lines.size(), "every line is kept, in order");
    ++next;
  }
  for (; next < now.lines.size(); ++next) {
    if (next + 1 < now.lines.size() || !now.lines[next].empty()) {
      requireAdded(next);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.empty()) {
    return 0;
  }
  keys_tool::KeyCodes codes;
  const auto chosen = static_cast<std::uint8_t>(input[0]);
  input.remove_prefix(1);
  for (std::size_t index = 0; index < settingsKeys.size() && !input.empty(); ++index) {
    if ((chosen & (1U << index)) != 0) {
      codes[index] = codeOf(static_cast<std::uint8_t>(input[0]));
      input.remove_prefix(1);
    }
  }
  const std::string walk = fuzz::walkMismatch(input);
  require(walk.empty(), walk.c_str());
  const std::string edited = keys_tool::withKeysSet(input, codes);

  const Settings before = loaded(input);
  const Settings after = loaded(edited);
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const auto field = settingsKeys[index].field;
    require(after.*field == codes[index].value_or(before.*field),
            "the load holds the codes set and the others as before");
  }
  requireLinesKept(input, edited, codes);
  return 0;
}
