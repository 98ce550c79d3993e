// A plain restatement of the settings file's rules, kept apart from the
// reader it checks: lines split byte by byte, lines classified step by step,
// sections and keys kept in vectors and found by linear search.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sashcaster::model {

using Keys = std::vector<std::pair<std::string, std::string>>;
using Document = std::vector<std::pair<std::string, Keys>>;

inline bool isWhitespace(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f' ||
         byte == '\v';
}

inline std::string trimmed(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (end > begin && isWhitespace(text[end - 1])) {
    --end;
  }
  while (begin < end && isWhitespace(text[begin])) {
    ++begin;
  }
  return std::string(text.substr(begin, end - begin));
}

// Left to right, never searching the inserted text again.
inline std::string replacedAll(const std::string& text, std::string_view pattern,
                               std::string_view replacement) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, pattern.size(), pattern) == 0) {
      out += replacement;
      i += pattern.size();
    } else {
      out += text[i];
      ++i;
    }
  }
  return out;
}

inline std::vector<std::string> lines(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
  }
  std::vector<std::string> result;
  if (bytes.empty()) {
    return result;
  }
  std::string current;
  for (const char byte : bytes) {
    if (byte == '\n') {
      result.push_back(current);
      current.clear();
    } else if (byte != '\r' && byte != '\0') {
      current += byte;
    }
  }
  result.push_back(current);
  return result;
}

struct Line {
  enum Kind { Other, Header, KeyValue } kind = Other;
  std::string first;
  std::string second;
};

inline Line classify(const std::string& raw) {
  std::string line = trimmed(raw);
  if (line.empty() || line[0] == ';') {
    return {};
  }
  if (line[0] == '[') {
    const std::size_t semicolon = line.find(';');
    if (semicolon != std::string::npos) {
      line.resize(semicolon);
    }
    const std::size_t close = line.rfind(']');
    if (close != std::string::npos) {
      return {Line::Header, trimmed(std::string_view(line).substr(1, close - 1)), {}};
    }
  }
  const std::string normalised = replacedAll(line, "\\=", "  ");
  const std::size_t equals = normalised.find('=');
  if (equals == std::string::npos) {
    return {};
  }
  return {Line::KeyValue,
          replacedAll(trimmed(std::string_view(line).substr(0, equals)), "\\=", "="),
          trimmed(std::string_view(line).substr(equals + 1))};
}

template <typename Value>
Value& lookUp(std::vector<std::pair<std::string, Value>>& pairs, const std::string& name) {
  for (auto& pair : pairs) {
    if (pair.first == name) {
      return pair.second;
    }
  }
  pairs.emplace_back(name, Value{});
  return pairs.back().second;
}

inline Document parse(std::string_view bytes) {
  Document document;
  std::optional<std::string> section;
  for (const std::string& raw : lines(bytes)) {
    const Line line = classify(raw);
    if (line.kind == Line::Header) {
      section = line.first;
      lookUp(document, line.first);
    } else if (line.kind == Line::KeyValue && section) {
      lookUp(lookUp(document, *section), line.first) = line.second;
    }
  }
  return document;
}

inline const std::string* find(const Document& document, const std::string& section,
                               const std::string& key) {
  for (const auto& [name, keys] : document) {
    if (name == section) {
      for (const auto& [keyName, value] : keys) {
        if (keyName == key) {
          return &value;
        }
      }
    }
  }
  return nullptr;
}

}  // namespace sashcaster::model
