#include "config/ini_file.h"

#include <ios>
#include <utility>

#include "config/utf16_text.h"

namespace sashcaster {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// Carriage returns and zero bytes, such as those of a read cut short, never
// reach a line.
bool droppedByte(char byte) {
  return byte == '\r' || byte == '\0';
}

// The line without its carriage returns and zero bytes. Only a line that has
// some before its end is copied, into the scratch string; a line ending in a
// carriage return, as every line of a Windows file does, is not.
std::string_view withoutDroppedBytes(std::string_view line, std::string& scratch) {
  while (!line.empty() && droppedByte(line.back())) {
    line.remove_suffix(1);
  }
  std::size_t kept = 0;
  while (kept < line.size() && !droppedByte(line[kept])) {
    ++kept;
  }
  if (kept == line.size()) {
    return line;
  }
  scratch.assign(line.substr(0, kept));
  for (const char byte : line.substr(kept)) {
    if (!droppedByte(byte)) {
      scratch.push_back(byte);
    }
  }
  return scratch;
}

// Hands each line of the bytes to the visitor in file order, as splitIniLines
// describes; the view handed over is valid only during the call.
template <typename Visitor>
void forEachLine(std::string_view bytes, Visitor&& visit) {
  // A UTF-16 file is decoded whole first, so that no byte of a code unit can
  // end a line or start a comment on its own.
  std::string decoded;
  if (startsWithUtf16Mark(bytes)) {
    decoded = utf16ToUtf8(bytes);
    bytes = decoded;
  }
  if (bytes.starts_with(byteOrderMark)) {
    bytes.remove_prefix(byteOrderMark.size());
  }
  if (bytes.empty()) {
    return;
  }
  std::string scratch;
  for (;;) {
    const std::size_t end = bytes.find('\n');
    visit(withoutDroppedBytes(bytes.substr(0, end), scratch));
    if (end == std::string_view::npos) {
      return;
    }
    bytes.remove_prefix(end + 1);
  }
}

}  // namespace

std::vector<std::string> splitIniLines(std::string_view bytes) {
  std::vector<std::string> lines;
  forEachLine(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

void parseIniBytes(std::string_view bytes, IniStructure& target) {
  std::pair<std::string, std::string> pair;
  // The section of the last header; keys before the first header go nowhere.
  // Only a header adds sections, and it sets this afresh, so it stays valid.
  IniSection* section = nullptr;
  forEachLine(bytes, [&](std::string_view line) {
    switch (classifyLine(line, pair)) {
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
  });
}

IniStreamReader::IniStreamReader(const std::string& fileName)
    : stream(fileName, std::ios::in | std::ios::binary) {}

std::optional<std::string> IniStreamReader::takeBytes() {
  stream.seekg(0, std::ios::end);
  const std::streamoff size = stream.tellg();
  if (size < 0 || size > maxIniFileBytes) {
    stream.close();
    return std::nullopt;
  }
  stream.seekg(0, std::ios::beg);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  stream.read(bytes.data(), size);
  stream.close();
  return bytes;
}

bool IniStreamReader::readInto(IniStructure& target) {
  if (!stream.is_open()) {
    return false;
  }
  const std::optional<std::string> bytes = takeBytes();
  if (!bytes) {
    return false;
  }
  parseIniBytes(*bytes, target);
  return true;
}

std::vector<std::string> IniStreamReader::splitLines() {
  if (!stream.is_open()) {
    return {};
  }
  const std::optional<std::string> bytes = takeBytes();
  return bytes ? splitIniLines(*bytes) : std::vector<std::string>{};
}

bool IniFile::read(IniStructure& target) const {
  if (target.size() != 0) {
    target.clear();
  }
  if (fileName.empty()) {
    return false;
  }
  IniStreamReader reader(fileName);
  return reader.readInto(target);
}

}  // namespace sashcaster
