#include "i18n/catalogue.h"

#include <algorithm>
#include <cctype>

namespace sashcaster::i18n {

namespace {

constexpr std::string_view spaces = " \t";

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(spaces);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

bool isIdCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '_' || c == '-';
}

// The text with its escapes turned into what they stand for; false for an
// escape that stands for nothing.
bool unescape(std::string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 1 == text.size() || (text[i + 1] != 'n' && text[i + 1] != '\\')) {
      return false;
    }
    out += text[++i] == 'n' ? '\n' : '\\';
  }
  return true;
}

struct Reading {
  Catalogue catalogue;
  bool mayStayEnglish = false;
};

void readLine(std::string_view line, std::size_t number, Reading& reading) {
  const std::string_view text = trimmed(line);
  if (text.empty()) {
    reading.mayStayEnglish = false;
    return;
  }
  if (text.front() == '#') {
    reading.mayStayEnglish = reading.mayStayEnglish || text == mayStayEnglishMark;
    return;
  }
  const std::string where = "line " + std::to_string(number) + ": ";
  const std::size_t equals = text.find('=');
  const std::string_view id = trimmed(text.substr(0, std::min(equals, text.size())));
  if (equals == std::string_view::npos || id.empty() ||
      !std::all_of(id.begin(), id.end(), isIdCharacter)) {
    reading.catalogue.problems.push_back(where + "not \"message.id = text\"");
    return;
  }
  Message message{std::string(id), "", number, reading.mayStayEnglish};
  if (!unescape(trimmed(text.substr(equals + 1)), message.text)) {
    reading.catalogue.problems.push_back(where + "a backslash other than \\n or \\\\");
    return;
  }
  const bool known =
      std::any_of(reading.catalogue.messages.begin(), reading.catalogue.messages.end(),
                  [&](const Message& other) { return other.id == message.id; });
  if (known) {
    reading.catalogue.problems.push_back(where + message.id + " is given twice");
    return;
  }
  reading.catalogue.messages.push_back(std::move(message));
}

}  // namespace

Catalogue parseCatalogue(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  Reading reading;
  std::size_t number = 1;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    readLine(line, number++, reading);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return std::move(reading.catalogue);
}

std::optional<Braces> bracesFrom(std::string_view text, std::size_t from) {
  const std::size_t open = text.find('{', from);
  if (open == std::string_view::npos) {
    return std::nullopt;
  }
  const std::size_t close = text.find('}', open);
  if (close == std::string_view::npos) {
    return std::nullopt;
  }
  return Braces{open, close, text.substr(open + 1, close - open - 1)};
}

std::set<std::string, std::less<>> placeholdersOf(std::string_view text) {
  std::set<std::string, std::less<>> names;
  for (auto braces = bracesFrom(text, 0); braces; braces = bracesFrom(text, braces->open + 1)) {
    if (!braces->name.empty() &&
        std::all_of(braces->name.begin(), braces->name.end(), isIdCharacter)) {
      names.emplace(braces->name);
    }
  }
  return names;
}

}  // namespace sashcaster::i18n
