#include "config/ini_lines.h"

#include <algorithm>
#include <cstdint>

namespace sashcaster {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::uint32_t byteOrderMarkUnit = 0xFEFF;

// Carriage returns and zero bytes, such as those of a read cut short, never
// reach a line's text, wherever they stand in it.
bool droppedByte(char byte) {
  return byte == '\r' || byte == '\0';
}

// Where the text starts: after a byte-order mark, in either encoding. A UTF-16
// file's U+FEFF is the UTF-8 mark once decoded, and goes the same way.
std::size_t textStartOf(const TextUnits& units) {
  if (units.width == 1) {
    return units.bytes.starts_with(byteOrderMark) ? byteOrderMark.size() : 0;
  }
  const bool marked = units.first < units.end && units.at(units.first) == byteOrderMarkUnit;
  return marked ? units.first + units.width : units.first;
}

// Where the line that begins there ends: at the next line feed, or after the
// last whole unit.
std::size_t lineEnd(const TextUnits& units, std::size_t begin) {
  if (units.width == 1) {
    return std::min(units.bytes.find('\n', begin), units.end);
  }
  std::size_t at = begin;
  while (at < units.end && units.at(at) != '\n') {
    at += units.width;
  }
  return at;
}

// The line without its carriage returns and zero bytes. A line that holds
// none, or holds them only at its end as every line of a Windows file does,
// is handed over as it stands; any other is copied into `scratch` without them.
std::string_view withoutDroppedBytes(std::string_view line, std::string& scratch) {
  while (!line.empty() && droppedByte(line.back())) {
    line.remove_suffix(1);
  }
  if (line.find('\r') == std::string_view::npos && line.find('\0') == std::string_view::npos) {
    return line;
  }
  scratch.assign(line);
  std::erase_if(scratch, droppedByte);
  return scratch;
}

}  // namespace

IniLineWalk::IniLineWalk(std::string_view bytes)
    : units_(bytes),
      textStart_(textStartOf(units_)),
      nextBegin_(units_.first),
      done_(textStart_ == bytes.size()) {}

bool IniLineWalk::next() {
  if (done_) {
    return false;
  }
  const std::size_t begin = nextBegin_;
  const std::size_t end = lineEnd(units_, begin);
  ++line_.number;
  line_.begin = begin;
  line_.end = end;
  line_.fed = end < units_.end;
  line_.text = textOf(line_.number == 1 ? textStart_ : begin, end);
  line_.kind = classifyLine(line_.text, line_.pair);
  nextBegin_ = end + units_.width;
  done_ = !line_.fed;
  return true;
}

// UTF-16 units are decoded line by line: no line feed, carriage return or
// zero byte of the decoded text can come from a unit other than that one
// character, and no surrogate pair spans a line feed.
std::string_view IniLineWalk::textOf(std::size_t begin, std::size_t end) {
  if (units_.width == 1) {
    return withoutDroppedBytes(units_.bytes.substr(begin, end - begin), scratch_);
  }
  scratch_.clear();
  appendAsUtf8(units_, begin, end, scratch_);
  if (!line_.fed && units_.oddByteLeft()) {
    appendReplacementCharacter(scratch_);
  }
  std::erase_if(scratch_, droppedByte);
  return scratch_;
}

}  // namespace sashcaster
