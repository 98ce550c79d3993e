#include "keys_tool/settings_edit.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/utf16_text.h"

namespace sashcaster::keys_tool {

namespace {

// The file's code units: its bytes, or the 16-bit units after a UTF-16 mark in
// the file's byte order. Every byte the reader sees as ASCII is one unit of
// that value, whatever the encoding.
class Units {
 public:
  explicit Units(std::string_view bytes)
      : bytes_(bytes),
        wide_(startsWithUtf16Mark(bytes)),
        bigEndian_(bytes.starts_with("\xFE\xFF")) {}

  // A last odd byte of a UTF-16 file is no unit: it stays the file's last byte.
  std::size_t count() const { return wide_ ? (bytes_.size() - 2) / 2 : bytes_.size(); }

  std::uint32_t at(std::size_t index) const {
    if (!wide_) {
      return static_cast<unsigned char>(bytes_[index]);
    }
    const auto first = static_cast<unsigned char>(bytes_[offset(index)]);
    const auto second = static_cast<unsigned char>(bytes_[offset(index) + 1]);
    return bigEndian_ ? (std::uint32_t{first} << 8) | second : (std::uint32_t{second} << 8) | first;
  }

  std::size_t offset(std::size_t index) const { return wide_ ? 2 + 2 * index : index; }

  // ASCII text as the file's units.
  std::string encode(std::string_view text) const {
    if (!wide_) {
      return std::string(text);
    }
    std::string out;
    for (const char c : text) {
      out += bigEndian_ ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
  }

 private:
  std::string_view bytes_;
  bool wide_;
  bool bigEndian_;
};

// One line in units; `end` is before its line feed, if it has one.
struct Line {
  std::size_t start = 0;
  std::size_t end = 0;
  bool fed = false;
};

// The lines as the reader splits them; none when the reader finds none.
std::vector<Line> linesOf(const Units& units, std::size_t readerLines) {
  std::vector<Line> lines;
  if (readerLines == 0) {
    return lines;
  }
  Line line;
  for (std::size_t i = 0; i < units.count(); ++i) {
    if (units.at(i) == '\n') {
      line.end = i;
      line.fed = true;
      lines.push_back(line);
      line = Line{i + 1, i + 1, false};
    }
  }
  line.end = units.count();
  lines.push_back(line);
  return lines;
}

// The lines that matter in the [Sashcaster] section, found as the plug-in's
// parse finds them: the line that counts for each key, and the line after
// which missing keys go.
struct SectionLines {
  std::array<std::optional<std::size_t>, settingsKeys.size()> counting;
  std::optional<std::size_t> anchor;
};

SectionLines findSectionLines(const std::vector<std::string>& lines) {
  SectionLines found;
  bool inSection = false;
  std::pair<std::string, std::string> pair;
  for (std::size_t number = 0; number < lines.size(); ++number) {
    const IniLineKind kind = classifyLine(lines[number], pair);
    if (kind == IniLineKind::SectionHeader) {
      inSection = pair.first == settingsSectionName;
      if (inSection && !found.anchor) {
        found.anchor = number;
      }
    } else if (kind == IniLineKind::KeyValue && inSection) {
      found.anchor = number;
      for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
        if (pair.first == settingsKeys[index].name) {
          found.counting[index] = number;
        }
      }
    }
  }
  return found;
}

bool droppedUnit(std::uint32_t unit) {
  return unit == '\r' || unit == '\0';
}

bool spaceUnit(std::uint32_t unit) {
  return unit < 0x80 && iniWhitespaceByte(static_cast<char>(unit));
}

// Units [from, to) replaced by the text.
struct Edit {
  std::size_t from;
  std::size_t to;
  std::string text;
};

// The value's first word in a key line that counts: from the first unit after
// "=" that the reader keeps and does not trim, to the first space or tab after
// it. An empty value is an empty stretch just before the line's carriage returns.
Edit valueEdit(const Units& units, const Line& line, std::string code) {
  std::size_t from = line.start;
  while (units.at(from) != '=') {
    ++from;
  }
  ++from;
  std::size_t end = line.end;
  while (end > from && (spaceUnit(units.at(end - 1)) || droppedUnit(units.at(end - 1)))) {
    --end;
  }
  while (from < end && (spaceUnit(units.at(from)) || droppedUnit(units.at(from)))) {
    ++from;
  }
  if (from == end) {
    from = line.end;
    while (from > line.start && units.at(from - 1) == '\r') {
      --from;
    }
    return {from, from, std::move(code)};
  }
  std::size_t to = from;
  while (to < end && (droppedUnit(units.at(to)) || !spaceUnit(units.at(to)))) {
    ++to;
  }
  return {from, to, std::move(code)};
}

std::string lineEndOf(const Units& units, const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (line.fed) {
      return line.end > line.start && units.at(line.end - 1) == '\r' ? "\r\n" : "\n";
    }
  }
  return "\r\n";
}

// The lines of the keys to add, each ended by the file's line end, joined
// after `anchor`: after its line feed, or after its last unit with a line end
// of its own when it has none.
Edit additionEdit(const Units& units, const std::optional<Line>& anchor, std::string added,
                  const std::string& lineEnd) {
  if (anchor && anchor->fed) {
    return {anchor->end + 1, anchor->end + 1, std::move(added)};
  }
  if (anchor) {
    added.resize(added.size() - lineEnd.size());
    return {units.count(), units.count(), lineEnd + added};
  }
  return {units.count(), units.count(), std::move(added)};
}

std::string keyLine(std::size_t index, std::uint32_t code, const std::string& lineEnd) {
  return std::string(settingsKeys[index].name) + "=" + std::to_string(code) + lineEnd;
}

std::string applied(std::string_view bytes, const Units& units, std::vector<Edit> edits) {
  // Value edits come first, so one at the very place of an addition stays before it.
  std::stable_sort(edits.begin(), edits.end(),
                   [](const Edit& a, const Edit& b) { return a.from < b.from; });
  std::string out;
  std::size_t copied = 0;
  for (const Edit& edit : edits) {
    out.append(bytes.substr(copied, units.offset(edit.from) - copied));
    out += units.encode(edit.text);
    copied = units.offset(edit.to);
  }
  out.append(bytes.substr(copied));
  return out;
}

}  // namespace

std::string withKeysSet(std::string_view bytes, const KeyCodes& codes) {
  const Units units(bytes);
  const std::vector<std::string> readerLines = splitIniLines(bytes);
  const std::vector<Line> lines = linesOf(units, readerLines.size());
  const SectionLines section = findSectionLines(readerLines);
  const std::string lineEnd = lineEndOf(units, lines);
  std::vector<Edit> edits;
  std::string added;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (!codes[index]) {
      continue;
    }
    if (section.counting[index]) {
      edits.push_back(
          valueEdit(units, lines[*section.counting[index]], std::to_string(*codes[index])));
    } else {
      added += keyLine(index, *codes[index], lineEnd);
    }
  }
  if (!added.empty() && !section.anchor) {
    std::string header(1, '[');
    header.append(settingsSectionName).append("]").append(lineEnd);
    added.insert(0, header);
    // A last line with text but no line end gets one before the section.
    const bool lastLineOpen = !lines.empty() && lines.back().end > lines.back().start;
    edits.push_back(additionEdit(units, lastLineOpen ? std::optional(lines.back()) : std::nullopt,
                                 added, lineEnd));
  } else if (!added.empty()) {
    edits.push_back(additionEdit(units, lines[*section.anchor], added, lineEnd));
  }
  return applied(bytes, units, std::move(edits));
}

}  // namespace sashcaster::keys_tool
