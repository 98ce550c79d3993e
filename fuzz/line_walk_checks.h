// The reader's line walk held to the fuzz model: the model's lines, one for
// one, and each line's place in the file's bytes read back, by the model's
// own decoding, as that line. The keys edit changes a file at these places
// only, so a place off by one unit would cost a player's byte. For the fuzz
// targets and the walk's table test.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_lines.h"
#include "fuzz/ini_model.h"

namespace sashcaster::fuzz {

// A walked line, kept beyond the walk's next step.
struct WalkedLine {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool fed = false;
  std::string text;
  IniLineKind kind = IniLineKind::Blank;
};

inline std::vector<WalkedLine> walkedLines(std::string_view bytes) {
  std::vector<WalkedLine> lines;
  for (IniLineWalk walk(bytes); walk.next();) {
    const IniLine& line = walk.line();
    lines.push_back({line.begin, line.end, line.fed, std::string(line.text), line.kind});
  }
  return lines;
}

// The unit a line feed takes: 2 bytes after a UTF-16 mark, else 1.
inline std::size_t unitWidth(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ? 2 : 1;
}

// Whether the unit at that offset is the ASCII character.
inline bool unitIs(std::string_view bytes, std::size_t at, char ascii) {
  if (unitWidth(bytes) == 1) {
    return bytes[at] == ascii;
  }
  const bool big = bytes.starts_with("\xFE\xFF");
  return bytes[at + (big ? 1 : 0)] == ascii && bytes[at + (big ? 0 : 1)] == '\0';
}

// The bytes from `begin` to `end` read as the model reads a whole file. A
// later line gets a line feed in front, so that a mark at its start stays as
// the reader keeps it; a UTF-16 line gets the file's mark in front, and the
// last one the file's last odd byte behind.
inline std::string readBack(std::string_view bytes, const WalkedLine& line, bool first, bool last) {
  const bool wide = unitWidth(bytes) == 2;
  std::string file = wide ? std::string(bytes.substr(0, 2)) : std::string();
  if (!first) {
    file += !wide                           ? std::string("\n")
            : bytes.starts_with("\xFE\xFF") ? std::string("\0\n", 2)
                                            : std::string("\n\0", 2);
  }
  file += bytes.substr(line.begin, line.end - line.begin);
  if (wide && last && bytes.size() % 2 == 1) {
    file += bytes.back();
  }
  std::vector<std::string> read = model::lines(file);
  if (!first) {
    read.erase(read.begin());
  }
  return read.empty() ? "" : read.size() == 1 ? read.front() : "(more than one line)";
}

// Empty when the walked lines are the model's, each read back from its place
// as its text, the places following one another from the start of the units
// to the end of the last whole one, and every key line's "=" within its place;
// else the first difference in words.
inline std::string walkMismatch(std::string_view bytes, const std::vector<WalkedLine>& walked) {
  const std::vector<std::string> lines = model::lines(bytes);
  if (walked.size() != lines.size()) {
    return "the walk gives " + std::to_string(walked.size()) + " lines, the model " +
           std::to_string(lines.size());
  }
  const std::size_t width = unitWidth(bytes);
  std::size_t begin = width == 2 ? 2 : 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const WalkedLine& line = walked[i];
    const auto onLine = [i](const std::string& said) {
      return "line " + std::to_string(i + 1) + ": " + said;
    };
    const bool last = i + 1 == lines.size();
    const std::string stored = readBack(bytes, line, i == 0, last);
    if (line.text != lines[i] || stored != lines[i]) {
      return onLine("the walk reads \"" + line.text + "\" from \"" + stored +
                    "\", the model reads \"" + lines[i] + "\"");
    }
    const std::size_t end = last ? bytes.size() - (width == 2 ? bytes.size() % 2 : 0) : line.end;
    if (line.begin != begin || line.end != end || line.fed == last ||
        (line.fed && !unitIs(bytes, line.end, '\n'))) {
      return onLine("its place does not follow the line before it");
    }
    bool equals = false;
    for (std::size_t at = line.begin; at < line.end && !equals; at += width) {
      equals = unitIs(bytes, at, '=');
    }
    if (line.kind == IniLineKind::KeyValue && !equals) {
      return onLine("a key line without \"=\" in its place");
    }
    begin = line.end + width;
  }
  return "";
}

inline std::string walkMismatch(std::string_view bytes) {
  return walkMismatch(bytes, walkedLines(bytes));
}

}  // namespace sashcaster::fuzz
