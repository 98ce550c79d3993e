// The language the player's system asks for: on Windows the user's display
// language, elsewhere the locale of messages.
#pragma once

#include <string_view>

namespace sashcaster::i18n {

// One of languages; English for a language the programs do not speak.
std::string_view systemLanguage();

}  // namespace sashcaster::i18n
