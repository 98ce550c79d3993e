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

// Whether a stretch of the bytes holds a carriage return or a zero byte. Each
// is found with memchr over the rest of the bytes and looked for again only
// once the lines have passed the one found: a file without carriage returns
// costs one search in all, a Windows file one per line.
class DroppedBytes {
 public:
  explicit DroppedBytes(std::string_view bytes)
      : bytes_(bytes), return_(bytes.find('\r')), zero_(bytes.find('\0')) {}

  bool noneIn(std::size_t from, std::size_t to) {
    return nextAt(from, '\r', return_) >= to && nextAt(from, '\0', zero_) >= to;
  }

 private:
  std::size_t nextAt(std::size_t from, char byte, std::size_t& found) const {
    if (found < from) {
      found = bytes_.find(byte, from);
    }
    return found;
  }

  std::string_view bytes_;
  std::size_t return_;
  std::size_t zero_;
};

// The line without its carriage returns and zero bytes, copied into the
// scratch string.
std::string_view withoutDroppedBytes(std::string_view line, std::string& scratch) {
  scratch.clear();
  for (const char byte : line) {
    if (!droppedByte(byte)) {
      scratch.push_back(byte);
    }
  }
  return scratch;
}

// Every line is wanted unless the visitor says otherwise.
bool everyLine(std::string_view /*line*/) {
  return true;
}

// Hands each line of the bytes to the visitor in file order, as splitIniLines
// describes; the view handed over is valid only during the call. A line for
// which `wanted` is false, given the line as stored, is skipped unseen.
template <typename Visitor>
void forEachLine(std::string_view bytes, Visitor&& visit,
                 bool (*wanted)(std::string_view) = everyLine) {
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
  DroppedBytes dropped(bytes);
  for (std::size_t start = 0;;) {
    const std::size_t feed = bytes.find('\n', start);
    std::size_t end = feed == std::string_view::npos ? bytes.size() : feed;
    // A line ending in a carriage return, as every line of a Windows file
    // does, is handed over without a copy.
    while (end > start && droppedByte(bytes[end - 1])) {
      --end;
    }
    const std::string_view line = bytes.substr(start, end - start);
    if (wanted(line)) {
      visit(dropped.noneIn(start, end) ? line : withoutDroppedBytes(line, scratch));
    }
    if (feed == std::string_view::npos) {
      return;
    }
    start = feed + 1;
  }
}

// False for a line that parses to nothing whatever its other bytes: only
// whitespace and zero bytes, or those and then a ";". Told from the line's
// first bytes, so that a comment is passed over without being copied,
// trimmed or searched for dropped bytes.
bool mayHoldHeaderOrKey(std::string_view line) {
  for (const char byte : line) {
    if (byte != '\0' && !iniWhitespaceByte(byte)) {
      return byte != ';';
    }
  }
  return false;
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
  const auto addLine = [&](std::string_view line) {
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
  };
  forEachLine(bytes, addLine, mayHoldHeaderOrKey);
}

IniStreamReader::IniStreamReader(const std::string& fileName) : file(fileName) {}

std::optional<std::string> IniStreamReader::takeBytes() {
  std::istream& stream = file.stream();
  stream.seekg(0, std::ios::end);
  const std::streamoff size = stream.tellg();
  if (size < 0 || size > maxIniFileBytes) {
    file.close();
    return std::nullopt;
  }
  stream.seekg(0, std::ios::beg);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  stream.read(bytes.data(), size);
  file.close();
  return bytes;
}

bool IniStreamReader::readInto(IniStructure& target) {
  if (!file.isOpen()) {
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
  if (!file.isOpen()) {
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
