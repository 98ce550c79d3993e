#include "i18n/messages.h"

#include <map>
#include <span>

#include "i18n/catalogue.h"
#include "i18n/languages.h"

namespace sashcaster::i18n {

namespace {

using Texts = std::map<std::string, std::string, std::less<>>;

std::string_view& current() {
  static std::string_view language = english;
  return language;
}

// The messages of a language's built-in catalogue, read once; none for a
// language without one.
const Texts& textsOf(std::string_view language) {
  static std::map<std::string, Texts, std::less<>> read;
  const auto found = read.find(language);
  if (found != read.end()) {
    return found->second;
  }
  Texts& texts = read[std::string(language)];
  for (const EmbeddedCatalogue& catalogue : embeddedCatalogues()) {
    if (catalogue.tag == language) {
      for (Message& message : parseCatalogue(catalogue.text).messages) {
        texts.emplace(std::move(message.id), std::move(message.text));
      }
    }
  }
  return texts;
}

std::string filled(std::string_view text, std::span<const Value> values) {
  std::string out;
  std::size_t copied = 0;
  std::size_t from = 0;
  while (const auto braces = bracesFrom(text, from)) {
    from = braces->open + 1;
    for (const Value& value : values) {
      if (value.name == braces->name) {
        out.append(text.substr(copied, braces->open - copied)).append(value.text);
        copied = braces->close + 1;
        from = copied;
        break;
      }
    }
  }
  return out.append(text.substr(copied));
}

std::string lookedUp(std::string_view language, std::string_view id,
                     std::span<const Value> values) {
  for (const std::string_view where : {language, english}) {
    const Texts& texts = textsOf(where);
    if (const auto found = texts.find(id); found != texts.end()) {
      return filled(found->second, values);
    }
  }
  return std::string(id);  // a message of no catalogue: its id shows the fault
}

// A tag as typed, with no control byte to move the terminal's cursor.
std::string printable(std::string tag) {
  for (char& c : tag) {
    c = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  }
  return tag;
}

}  // namespace

void useLanguage(std::string_view language) {
  current() = languageOfTag(language).value_or(english);
}

std::string_view currentLanguage() {
  return current();
}

std::string say(std::string_view id, std::initializer_list<Value> values) {
  return lookedUp(current(), id, {values.begin(), values.size()});
}

std::string sayInEnglish(std::string_view id, std::initializer_list<Value> values) {
  return lookedUp(english, id, {values.begin(), values.size()});
}

std::string sayCount(std::string_view id, std::uint64_t count,
                     std::initializer_list<Value> values) {
  std::string formId(id);
  formId.append(".").append(pluralForm(current(), count));
  std::vector<Value> all(values);
  all.push_back({"count", std::to_string(count)});
  return lookedUp(current(), formId, all);
}

std::string takeLanguageOption(std::vector<std::string>& arguments) {
  constexpr std::string_view option = "--lang";
  for (std::size_t i = 0; i < arguments.size();) {
    const std::string& argument = arguments[i];
    const bool joined = argument.starts_with(option) && argument.size() > option.size() &&
                        argument[option.size()] == '=';
    if (argument != option && !joined) {
      ++i;
      continue;
    }
    if (!joined && i + 1 == arguments.size()) {
      return say("lang.missing", {{"tags", languageList()}});
    }
    const std::string tag = joined ? argument.substr(option.size() + 1) : arguments[i + 1];
    const std::optional<std::string_view> language = languageOfTag(tag);
    if (!language) {
      return say("lang.unknown", {{"tag", printable(tag)}, {"tags", languageList()}});
    }
    current() = *language;
    arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i),
                    arguments.begin() + static_cast<std::ptrdiff_t>(i + (joined ? 1 : 2)));
  }
  return "";
}

}  // namespace sashcaster::i18n
