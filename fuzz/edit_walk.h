// The keys edit's own line walk held to the reader's splitIniLines, for the
// edit's fuzz target and its table test. The walk is file-local to
// settings_edit.cpp, and both programs include that source rather than widen
// its interface; neither links the keys tool's library, so the edit is
// defined once in each.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "config/ini_text.h"
#include "config/utf16_text.h"
#include "keys_tool/settings_edit.cpp"  // NOLINT(bugprone-suspicious-include): see above

namespace sashcaster::fuzz {

using EditLine = keys_tool::Line;

// The edit's walk of the bytes: its lines, in code units.
inline std::vector<EditLine> editWalk(std::string_view bytes) {
  return keys_tool::linesOf(keys_tool::Units(bytes), splitIniLines(bytes).size());
}

// A walked line's stored text as the reader turns it into a line: decoded
// from UTF-16, without a mark at the start of the file, its carriage returns
// and zero bytes dropped. The reader decodes a last odd byte of a UTF-16 file
// into U+FFFD at the end of the last line; the edit leaves that byte alone.
inline std::string asTheReaderReads(std::string_view bytes, const EditLine& line, bool first,
                                    bool last) {
  const keys_tool::Units units(bytes);
  const std::size_t from = units.offset(line.start);
  const std::string_view stored = bytes.substr(from, units.offset(line.end) - from);
  const bool wide = startsWithUtf16Mark(bytes);
  std::string text = wide ? utf16ToUtf8(std::string(bytes.substr(0, 2)) + std::string(stored))
                          : std::string(stored);
  if (wide && last && bytes.size() % 2 == 1) {
    text += "\xEF\xBF\xBD";
  }
  if (first && text.starts_with("\xEF\xBB\xBF")) {
    text.erase(0, 3);
  }
  std::erase_if(text, [](char c) { return c == '\r' || c == '\0'; });
  return text;
}

// Empty when the walked lines are the reader's, one for one, and every line
// the reader takes for a key holds the "=" the edit looks for within its own
// units; else the first difference in words.
inline std::string walkMismatch(std::string_view bytes, const std::vector<EditLine>& walked) {
  const std::vector<std::string> lines = splitIniLines(bytes);
  if (walked.size() != lines.size()) {
    return "the edit walks " + std::to_string(walked.size()) + " lines, the reader splits " +
           std::to_string(lines.size());
  }
  const keys_tool::Units units(bytes);
  std::pair<std::string, std::string> pair;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string text = asTheReaderReads(bytes, walked[i], i == 0, i + 1 == lines.size());
    if (text != lines[i]) {
      return "line " + std::to_string(i + 1) + ": the edit walks \"" + text +
             "\", the reader splits \"" + lines[i] + "\"";
    }
    bool equals = false;
    for (std::size_t unit = walked[i].start; unit < walked[i].end && !equals; ++unit) {
      equals = units.at(unit) == '=';
    }
    if (classifyLine(lines[i], pair) == IniLineKind::KeyValue && !equals) {
      return "line " + std::to_string(i + 1) + ": a key line without \"=\" in the edit's units";
    }
  }
  return "";
}

inline std::string walkMismatch(std::string_view bytes) {
  return walkMismatch(bytes, editWalk(bytes));
}

}  // namespace sashcaster::fuzz
