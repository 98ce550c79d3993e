// The programs' messages in the player's language: looked up by id in that
// language's catalogue, or in English where the catalogue lacks one, with
// their placeholders filled.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace sashcaster::i18n {

// The language the messages are said in, one of languages; English until a
// program chooses another.
void useLanguage(std::string_view language);
std::string_view currentLanguage();

// A placeholder's value: {name} becomes the text.
struct Value {
  std::string_view name;
  std::string text;
};

// The message in the current language, each {name} of the values replaced by
// its text; a placeholder without a value stays as it is.
std::string say(std::string_view id, std::initializer_list<Value> values = {});

// The same in English, whatever the current language.
std::string sayInEnglish(std::string_view id, std::initializer_list<Value> values = {});

// The message "ID.FORM" for the count's plural form in the current language,
// with {count} filled in as well.
std::string sayCount(std::string_view id, std::uint64_t count,
                     std::initializer_list<Value> values = {});

// Takes "--lang TAG" (or "--lang=TAG") out of the arguments and uses that
// language. Returns why the tag names no language it speaks, in the current
// language, or an empty text.
std::string takeLanguageOption(std::vector<std::string>& arguments);

}  // namespace sashcaster::i18n
