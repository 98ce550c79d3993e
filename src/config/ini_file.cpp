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

// Where the line that starts at `start` ends: at the next line feed, or at
// the end of the text.
std::size_t lineEnd(std::string_view text, std::size_t start) {
  return std::min(text.find('\n', start), text.size());
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
  std::string scratch;
  // Up to and including the bytes after the last line feed, even when empty.
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = lineEnd(text, start);
    lines.emplace_back(withoutDroppedBytes(text.substr(start, end - start), scratch));
    start = end + 1;
  }
  return lines;
}

void parseIniBytes(std::string_view bytes, IniStructure& target) {
  std::string decoded;
  const std::string_view text = textOf(bytes, decoded);
  std::string scratch;
  std::pair<std::string, std::string> pair;
  IniSection* section = nullptr;
  // The lines of splitIniLines; an empty text gives one blank line here,
  // which adds nothing, as no lines would.
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = lineEnd(text, start);
    const std::string_view line = withoutDroppedBytes(text.substr(start, end - start), scratch);
    mergeLine(classifyLine(line, pair), pair, section, target);
    start = end + 1;
  }
}

IniStreamReader::IniStreamReader(const std::string& fileName)
    : read_(readSharedFile(fileName, maxIniFileBytes, bytes_) == SharedRead::Read) {}

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
