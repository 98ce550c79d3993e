// What the programs need to know of UTF-8 text in any of their languages:
// letter case, for names typed in either case, and the width a console gives it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sashcaster::i18n {

// The text in lower case: ASCII, Latin-1 and Latin Extended-A (French, German,
// Spanish, Portuguese, Polish...) and Cyrillic letters; other characters stay.
std::string lowerCase(std::string_view text);

// The columns the text fills on a console: two for each wide East Asian
// character (CJK, kana, Hangul, full-width forms), one for any other.
std::size_t displayWidth(std::string_view text);

}  // namespace sashcaster::i18n
