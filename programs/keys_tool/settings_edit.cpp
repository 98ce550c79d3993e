#include "keys_tool/settings_edit.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "config/ini_lines.h"
#include "config/ini_text.h"
#include "config/utf16_text.h"

namespace sashcaster::keys_tool {

namespace {

// Where one line's units stand in the file's bytes; `end` is before its line
// feed, if it has one.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool fed = false;
};

// The lines, as the reader walks them, and the lines that matter in the
// [Sashcaster] section, found as the plug-in's parse finds them: the line that
// counts for each key, and the line after which missing keys go.
struct FileLines {
  std::vector<Line> lines;
  std::array<std::optional<std::size_t>, settingsKeys.size()> counting;
  std::optional<std::size_t> anchor;
};

FileLines fileLinesOf(std::string_view bytes) {
  FileLines found;
  bool inSection = false;
  for (IniLineWalk walk(bytes); walk.next();) {
    const IniLine& line = walk.line();
    const std::size_t index = found.lines.size();
    found.lines.push_back({line.begin, line.end, line.fed});
    if (line.kind == IniLineKind::SectionHeader) {
      inSection = line.pair.first == settingsSectionName;
      if (inSection && !found.anchor) {
        found.anchor = index;
      }
    } else if (line.kind == IniLineKind::KeyValue && inSection) {
      found.anchor = index;
      for (std::size_t key = 0; key < settingsKeys.size(); ++key) {
        if (line.pair.first == settingsKeys[key].name) {
          found.counting[key] = index;
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

// The bytes [from, to) replaced by the text, in the file's units.
struct Edit {
  std::size_t from;
  std::size_t to;
  std::string text;
};

// The value's first word in a key line that counts: from the first unit after
// "=" that the reader keeps and does not trim, to the first space or tab after
// it. An empty value is an empty stretch just before the line's carriage returns.
Edit valueEdit(const TextUnits& units, const Line& line, std::string code) {
  const std::size_t width = units.width;
  const auto skipped = [&units](std::size_t at) {
    return spaceUnit(units.at(at)) || droppedUnit(units.at(at));
  };
  std::size_t from = line.begin;
  while (units.at(from) != '=') {
    from += width;
  }
  from += width;
  std::size_t end = line.end;
  while (end > from && skipped(end - width)) {
    end -= width;
  }
  while (from < end && skipped(from)) {
    from += width;
  }
  if (from == end) {
    from = line.end;
    while (from > line.begin && units.at(from - width) == '\r') {
      from -= width;
    }
    return {from, from, std::move(code)};
  }
  std::size_t to = from;
  while (to < end && (droppedUnit(units.at(to)) || !spaceUnit(units.at(to)))) {
    to += width;
  }
  return {from, to, std::move(code)};
}

std::string lineEndOf(const TextUnits& units, const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (line.fed) {
      return line.end > line.begin && units.at(line.end - units.width) == '\r' ? "\r\n" : "\n";
    }
  }
  return "\r\n";
}

// The lines of the keys to add, each ended by the file's line end, joined
// after `anchor`: after its line feed, or after its last unit with a line end
// of its own when it has none. A last odd byte of a UTF-16 file stays last.
Edit additionEdit(const TextUnits& units, const std::optional<Line>& anchor, std::string added,
                  const std::string& lineEnd) {
  if (anchor && anchor->fed) {
    const std::size_t afterFeed = anchor->end + units.width;
    return {afterFeed, afterFeed, std::move(added)};
  }
  if (anchor) {
    added.resize(added.size() - lineEnd.size());
    return {units.end, units.end, lineEnd + added};
  }
  return {units.end, units.end, std::move(added)};
}

std::string keyLine(std::size_t index, std::uint32_t code, const std::string& lineEnd) {
  return std::string(settingsKeys[index].name) + "=" + std::to_string(code) + lineEnd;
}

// ASCII text as the file's units.
std::string encoded(const TextUnits& units, std::string_view text) {
  if (units.width == 1) {
    return std::string(text);
  }
  std::string out;
  for (const char c : text) {
    out += units.bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

std::string applied(const TextUnits& units, std::vector<Edit> edits) {
  // Value edits come first, so one at the very place of an addition stays before it.
  std::stable_sort(edits.begin(), edits.end(),
                   [](const Edit& a, const Edit& b) { return a.from < b.from; });
  std::string out;
  std::size_t copied = 0;
  for (const Edit& edit : edits) {
    out.append(units.bytes.substr(copied, edit.from - copied));
    out += encoded(units, edit.text);
    copied = edit.to;
  }
  out.append(units.bytes.substr(copied));
  return out;
}

}  // namespace

std::string withKeysSet(std::string_view bytes, const KeyCodes& codes) {
  const TextUnits units(bytes);
  const FileLines file = fileLinesOf(bytes);
  const std::vector<Line>& lines = file.lines;
  const std::string lineEnd = lineEndOf(units, lines);
  std::vector<Edit> edits;
  std::string added;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (!codes[index]) {
      continue;
    }
    if (file.counting[index]) {
      edits.push_back(
          valueEdit(units, lines[*file.counting[index]], std::to_string(*codes[index])));
    } else {
      added += keyLine(index, *codes[index], lineEnd);
    }
  }
  if (!added.empty() && !file.anchor) {
    std::string header(1, '[');
    header.append(settingsSectionName).append("]").append(lineEnd);
    added.insert(0, header);
    // A last line with text but no line end gets one before the section.
    const bool lastLineOpen = !lines.empty() && lines.back().end > lines.back().begin;
    edits.push_back(additionEdit(units, lastLineOpen ? std::optional(lines.back()) : std::nullopt,
                                 added, lineEnd));
  } else if (!added.empty()) {
    edits.push_back(additionEdit(units, lines[*file.anchor], added, lineEnd));
  }
  return applied(units, std::move(edits));
}

}  // namespace sashcaster::keys_tool
