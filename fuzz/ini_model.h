// A plain restatement of the settings file's rules, kept apart from the
// reader it checks: UTF-16 decoded through code points, lines split byte by byte, lines classified
// step by step, sections and keys kept in vectors and found by linear search.
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

// A UTF-16 text after its mark, as code points: surrogate pairs joined, a lone
// surrogate or a last odd byte taken as U+FFFD.
inline std::vector<char32_t> utf16CodePoints(std::string_view bytes, bool bigEndian) {
  std::vector<char32_t> units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(bigEndian ? char32_t(a) * 256 + b : char32_t(b) * 256 + a);
  }
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    const bool high = u >= 0xD800 && u < 0xDC00;
    const bool nextLow = i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
    if (high && nextLow) {
      points.push_back(0x10000 + (u - 0xD800) * 0x400 + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      points.push_back(u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
    }
  }
  if (bytes.size() % 2 == 1) {
    points.push_back(0xFFFD);
  }
  return points;
}

inline std::string utf8Of(const std::vector<char32_t>& points) {
  std::string out;
  for (const char32_t p : points) {
    if (p < 0x80) {
      out += static_cast<char>(p);
    } else if (p < 0x800) {
      out += static_cast<char>(0xC0 + p / 64);
      out += static_cast<char>(0x80 + p % 64);
    } else if (p < 0x10000) {
      out += static_cast<char>(0xE0 + p / 4096);
      out += static_cast<char>(0x80 + p / 64 % 64);
      out += static_cast<char>(0x80 + p % 64);
    } else {
      out += static_cast<char>(0xF0 + p / 262144);
      out += static_cast<char>(0x80 + p / 4096 % 64);
      out += static_cast<char>(0x80 + p / 64 % 64);
      out += static_cast<char>(0x80 + p % 64);
    }
  }
  return out;
}

inline std::vector<std::string> lines(std::string_view bytes) {
  std::string decoded;
  const std::string_view mark = bytes.substr(0, 2);
  if (mark == "\xFF\xFE" || mark == "\xFE\xFF") {
    decoded = utf8Of(utf16CodePoints(bytes.substr(2), mark == "\xFE\xFF"));
    bytes = decoded;
  }
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
