// A message catalogue: the text of programs/messages/TAG.txt, one message a line
// ("message.id = text"), read into its messages.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sashcaster::i18n {

struct Message {
  std::string id;
  std::string text;  // \n and \\ already turned into a line break and a backslash
  std::size_t line = 0;
  // The English text may stand unchanged in other languages: the message
  // follows a "# may stay as in English" comment in the same block of lines.
  bool mayStayEnglish = false;
};

struct Catalogue {
  std::vector<Message> messages;
  std::vector<std::string> problems;  // "line 12: ..." for each line not understood
};

// The comment that lets the messages after it, up to the next blank line,
// keep the English text.
inline constexpr std::string_view mayStayEnglishMark = "# may stay as in English";

Catalogue parseCatalogue(std::string_view text);

// A pair of braces in a message's text, at or after a place: where it opens
// and closes, and the name between them ("{file}" gives "file").
struct Braces {
  std::size_t open = 0;
  std::size_t close = 0;
  std::string_view name;
};
std::optional<Braces> bracesFrom(std::string_view text, std::size_t from);

// The names of the placeholders ("{file}" gives "file") in a message's text.
std::set<std::string, std::less<>> placeholdersOf(std::string_view text);

// A catalogue as the programs carry it: the language's tag and the file's bytes.
struct EmbeddedCatalogue {
  std::string_view tag;
  std::string_view text;
};

// Every catalogue of programs/messages, built in; made at build time.
std::span<const EmbeddedCatalogue> embeddedCatalogues();

}  // namespace sashcaster::i18n
