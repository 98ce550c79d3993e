#include "config/ini_lines.h"

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

}  // namespace

IniLineWalk::IniLineWalk(std::string_view bytes)
    : units_(bytes),
      textStart_(textStartOf(units_)),
      nextBegin_(units_.first),
      done_(textStart_ == bytes.size()) {}

// A UTF-16 line ends at the next line-feed unit, or after the last whole unit.
std::size_t IniLineWalk::unitLineEnd(std::size_t begin) const {
  std::size_t at = begin;
  while (at < units_.end && units_.at(at) != '\n') {
    at += units_.width;
  }
  return at;
}

std::string_view IniLineWalk::copiedWithoutDroppedBytes(std::string_view bytes) {
  scratch_.assign(bytes);
  std::erase_if(scratch_, droppedByte);
  return scratch_;
}

// UTF-16 units are decoded line by line: no line feed, carriage return or
// zero byte of the decoded text can come from a unit other than that one
// character, and no surrogate pair spans a line feed.
std::string_view IniLineWalk::decodedText(std::size_t begin, std::size_t end) {
  scratch_.clear();
  appendAsUtf8(units_, begin, end, scratch_);
  if (!line_.fed && units_.oddByteLeft()) {
    appendReplacementCharacter(scratch_);
  }
  std::erase_if(scratch_, droppedByte);
  return scratch_;
}

}  // namespace sashcaster
