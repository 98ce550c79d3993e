#include "config/ini_file.h"

#include "config/ini_lines.h"
#include "host/shared_file.h"

namespace sashcaster {

namespace {

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
  std::vector<std::string> lines;
  for (IniLineWalk walk(bytes); walk.next();) {
    lines.emplace_back(walk.line().text);
  }
  return lines;
}

void parseIniBytes(std::string_view bytes, IniStructure& target) {
  IniSection* section = nullptr;
  for (IniLineWalk walk(bytes); walk.next();) {
    mergeLine(walk.line().kind, walk.line().pair, section, target);
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

std::string_view IniStreamReader::bytes() const {
  return read_ ? std::string_view(bytes_) : std::string_view();
}

std::vector<std::string> IniStreamReader::splitLines() const {
  return splitIniLines(bytes());
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
