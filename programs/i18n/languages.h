// The languages the players' programs speak, by tag, and how a tag written by
// a player, a Linux locale or Windows names one of them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sashcaster::i18n {

// The game's languages, English first: every other catalogue is held to it.
inline constexpr std::string_view english = "en";
inline constexpr std::array<std::string_view, 12> languages{
    english, "fr", "de", "it", "es", "pt-BR", "pl", "ru", "ja", "ko", "zh-Hans", "zh-Hant"};

// The language a tag names, whatever its letter case and separator: "de",
// "de_DE.UTF-8", "pt-br", "pt_PT" (Portugal reads the Brazilian text), "es-MX",
// "zh-CN", "zh_TW", "zh-Hant-HK"; "C" and "POSIX" are English. None for a
// language the programs do not speak.
std::optional<std::string_view> languageOfTag(std::string_view tag);

// "en, fr, de, ..." for messages that list the tags.
std::string languageList();

// The plural form a language gives a count, as the catalogues name them:
// "one", "few", "many" or "other".
std::string_view pluralForm(std::string_view language, std::uint64_t count);

}  // namespace sashcaster::i18n
