#include "config/ini_file.h"

#include <algorithm>

#include "config/utf16_text.h"
#include "host/shared_file.h"

namespace sashcaster {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The text the lines are cut from. A UTF-16 file is decoded whole into
// `decoded` first, so that no byte of a code unit can end a line or start a
// comment on its own; then a UTF-8 byte-order mark at the very start is
// dropped.
std::string_view textOf(std::string_view bytes, std::string& decoded) {
  if (startsWithUtf16Mark(bytes)) {
    decoded = utf16ToUtf8(bytes);
    bytes = decoded;
  }
  if (bytes.starts_with(byteOrderMark)) {
    bytes.remove_prefix(byteOrderMark.size());
  }
  return bytes;
}

// Carriage returns and zero bytes, such as those of a read cut short, never
// reach a line, wherever they stand in it.
bool droppedByte(char byte) {
  return byte == '\r' || byte == '\0';
}

// Puts the line that starts at `start` into `line`: the bytes up to the next
// line feed, or to the end, without carriage returns and zero bytes. Returns
// where the next line starts, or npos when this was the last line.
std::size_t cutLine(std::string_view text, std::size_t start, std::string& line) {
  const std::size_t feed = text.find('\n', start);
  line.assign(text.substr(start, feed == std::string_view::npos ? feed : feed - start));
  std::erase_if(line, droppedByte);
  return feed == std::string_view::npos ? feed : feed + 1;
}

// Adds one classified line to the target. A header names the section that
// the key/value lines after it go into; before the first header they go
// nowhere. Only a header adds sections, and it sets `section` afresh, so the
// pointer never outlives a growth of the target.
void mergeLine(IniLineKind kind, const std::pair<std::string, std::string>& pair,
               IniSection*& section, IniStructure& target) {
  switch (kind) {
    case IniLineKind::SectionHeader:
      section = &target[pair.first];
      break;
    case IniLineKind::KeyValue:
      if (section != nullptr) {
        (*section)[pair.first] = pair.second;
      }
      break;
    case IniLineKind::Blank:
    case IniLineKind::Comment:
    case IniLineKind::Unrecognised:
      break;
  }
}

}  // namespace

std::vector<std::string> splitIniLines(std::string_view bytes) {
  std::string decoded;
  const std::string_view text = textOf(bytes, decoded);
  std::vector<std::string> lines;
  if (text.empty()) {
    return lines;  // no bytes at all give no lines
  }
  std::string line;
  for (std::size_t next = 0; next != std::string_view::npos;) {
    next = cutLine(text, next, line);
    lines.push_back(line);  // the last line too, even when empty
  }
  return lines;
}

void parseIniBytes(std::string_view bytes, IniStructure& target) {
  std::string decoded;
  const std::string_view text = textOf(bytes, decoded);
  std::string line;
  std::pair<std::string, std::string> pair;
  IniSection* section = nullptr;
  // The same lines as splitIniLines; an empty text gives one blank line,
  // which adds nothing, as no lines would.
  for (std::size_t next = 0; next != std::string_view::npos;) {
    next = cutLine(text, next, line);
    mergeLine(classifyLine(line, pair), pair, section, target);
  }
}

IniStreamReader::IniStreamReader(const std::string& fileName) {
  read_ = readSharedFile(fileName, maxIniFileBytes, bytes_) == SharedRead::Read;
}

bool IniStreamReader::readInto(IniStructure& target) const {
  if (read_) {
    parseIniBytes(bytes_, target);
  }
  return read_;
}

std::vector<std::string> IniStreamReader::splitLines() const {
  return read_ ? splitIniLines(bytes_) : std::vector<std::string>{};
}

bool IniFile::read(IniStructure& target) const {
  if (target.size() != 0) {
    target.clear();
  }
  if (fileName.empty()) {
    return false;
  }
  return IniStreamReader(fileName).readInto(target);
}

}  // namespace sashcaster
