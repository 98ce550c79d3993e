#include "config/ini_text.h"

namespace sashcaster {

namespace {

// Position of the first "=" that is not the second byte of a backslash-equals
// pair. Replacing each "\=" by two spaces and searching the copy for "=" gives
// the same position, since such pairs never overlap; this saves the copy.
std::size_t separatorPosition(std::string_view line) {
  for (std::size_t position = line.find('='); position != std::string_view::npos;
       position = line.find('=', position + 1)) {
    if (position == 0 || line[position - 1] != '\\') {
      return position;
    }
  }
  return std::string_view::npos;
}

// A line that is neither blank, a comment nor a complete header: a key/value
// pair when it holds a separator, and nothing otherwise.
IniLineKind classifyKeyValue(std::string_view line, std::pair<std::string, std::string>& pair) {
  const std::size_t separator = separatorPosition(line);
  if (separator == std::string_view::npos) {
    return IniLineKind::Unrecognised;
  }
  pair.first.assign(trimmedView(line.substr(0, separator)));
  replaceAll(pair.first, "\\=", "=");
  pair.second.assign(trimmedView(line.substr(separator + 1)));
  return IniLineKind::KeyValue;
}

}  // namespace

void trimWhitespace(std::string& text) {
  const std::string_view kept = trimmedView(text);
  if (kept.size() == text.size()) {
    return;
  }
  if (kept.empty()) {
    text.clear();
    return;
  }
  const auto first = static_cast<std::size_t>(kept.data() - text.data());
  text.erase(first + kept.size());
  text.erase(0, first);
}

std::string_view trimmedView(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && iniWhitespaceByte(text[end - 1])) {
    --end;
  }
  std::size_t first = 0;
  while (first < end && iniWhitespaceByte(text[first])) {
    ++first;
  }
  return text.substr(first, end - first);
}

void replaceAll(std::string& text, std::string_view pattern, std::string_view replacement) {
  if (pattern.empty()) {
    return;
  }
  for (std::size_t position = text.find(pattern); position != std::string::npos;
       position = text.find(pattern, position + replacement.size())) {
    text.replace(position, pattern.size(), replacement);
  }
}

IniLineKind classifyLine(std::string_view line, std::pair<std::string, std::string>& pair) {
  pair.first.clear();
  pair.second.clear();
  line = trimmedView(line);
  if (line.empty()) {
    return IniLineKind::Blank;
  }
  if (line.front() == ';') {
    return IniLineKind::Comment;
  }
  if (line.front() == '[') {
    // A header loses everything from its first ";"; so does the key/value
    // reading of a line that turns out not to be a header.
    line = line.substr(0, line.find(';'));
    const std::size_t close = line.rfind(']');
    if (close != std::string_view::npos) {
      pair.first.assign(trimmedView(line.substr(1, close - 1)));
      return IniLineKind::SectionHeader;
    }
  }
  return classifyKeyValue(line, pair);
}

}  // namespace sashcaster
