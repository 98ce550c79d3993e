#include "i18n/languages.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace sashcaster::i18n {

namespace {

std::string lowered(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// "zh_TW.UTF-8@x" as its parts: "zh", "tw".
std::vector<std::string> subtagsOf(std::string_view tag) {
  tag = tag.substr(0, std::min(tag.find_first_of(".@"), tag.size()));
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= tag.size()) {
    const std::size_t end = std::min(tag.find_first_of("-_", start), tag.size());
    parts.push_back(lowered(tag.substr(start, end - start)));
    start = end + 1;
  }
  return parts;
}

bool has(const std::vector<std::string>& parts, std::string_view part) {
  return std::find(parts.begin() + 1, parts.end(), part) != parts.end();
}

std::string_view chineseOf(const std::vector<std::string>& parts) {
  const bool traditional =
      has(parts, "hant") ||
      (!has(parts, "hans") && (has(parts, "tw") || has(parts, "hk") || has(parts, "mo")));
  return traditional ? "zh-Hant" : "zh-Hans";
}

}  // namespace

std::optional<std::string_view> languageOfTag(std::string_view tag) {
  const std::vector<std::string> parts = subtagsOf(tag);
  const std::string& language = parts.front();
  if (language == "c" || language == "posix") {
    return english;
  }
  if (language == "zh") {
    return chineseOf(parts);
  }
  if (language == "pt") {
    return "pt-BR";
  }
  for (const std::string_view known : languages) {
    if (known.find('-') == std::string_view::npos && language == known) {
      return known;
    }
  }
  return std::nullopt;
}

std::string languageList() {
  std::string list;
  for (const std::string_view tag : languages) {
    list += (list.empty() ? "" : ", ") + std::string(tag);
  }
  return list;
}

std::string_view pluralForm(std::string_view language, std::uint64_t count) {
  const std::uint64_t units = count % 10;
  const std::uint64_t tens = count % 100;
  const bool fewEnding = units >= 2 && units <= 4 && (tens < 12 || tens > 14);
  if (language == "ru") {
    return units == 1 && tens != 11 ? "one" : fewEnding ? "few" : "many";
  }
  if (language == "pl") {
    return count == 1 ? "one" : fewEnding ? "few" : "many";
  }
  if (language == "ja" || language == "ko" || language.starts_with("zh")) {
    return "other";
  }
  // French and Brazilian Portuguese count 0 as one too.
  if (language == "fr" || language == "pt-BR") {
    return count <= 1 ? "one" : "other";
  }
  return count == 1 ? "one" : "other";
}

}  // namespace sashcaster::i18n
