// Every catalogue holds every English message with the same placeholders, and
// translates it where a translation is due; each language's key names name
// one key each.
#include "i18n/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "i18n/languages.h"
#include "i18n/messages.h"
#include "keys/key_names.h"

namespace sashcaster::i18n {
namespace {

const Catalogue& catalogueOf(std::string_view tag) {
  static std::map<std::string, Catalogue, std::less<>> read;
  if (const auto found = read.find(tag); found != read.end()) {
    return found->second;
  }
  Catalogue& catalogue = read[std::string(tag)];
  for (const EmbeddedCatalogue& embedded : embeddedCatalogues()) {
    if (embedded.tag == tag) {
      catalogue = parseCatalogue(embedded.text);
    }
  }
  return catalogue;
}

const Message* find(const Catalogue& catalogue, std::string_view id) {
  const auto found = std::find_if(catalogue.messages.begin(), catalogue.messages.end(),
                                  [&](const Message& message) { return message.id == id; });
  return found == catalogue.messages.end() ? nullptr : &*found;
}

bool hasLetters(std::string_view text) {
  // Placeholders are no text of the message's own.
  std::string own;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t close = text.find('}', i);
    if (text[i] == '{' && close != std::string_view::npos) {
      i = close;
    } else {
      own += text[i];
    }
  }
  return std::any_of(own.begin(), own.end(),
                     [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

class EveryLanguage : public testing::TestWithParam<std::string_view> {};

std::string tagName(const testing::TestParamInfo<std::string_view>& info) {
  std::string name(info.param);
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Catalogues, EveryLanguage, testing::ValuesIn(languages), tagName);

TEST_P(EveryLanguage, IsBuiltInAndReadsWhole) {
  const std::string_view tag = GetParam();
  const bool builtIn = std::any_of(embeddedCatalogues().begin(), embeddedCatalogues().end(),
                                   [&](const EmbeddedCatalogue& one) { return one.tag == tag; });
  ASSERT_TRUE(builtIn) << "programs/messages/" << tag << ".txt is missing";
  for (const std::string& problem : catalogueOf(tag).problems) {
    ADD_FAILURE() << tag << ".txt " << problem;
  }
}

TEST_P(EveryLanguage, HoldsEveryEnglishMessageTranslated) {
  const std::string_view tag = GetParam();
  const Catalogue& catalogue = catalogueOf(tag);
  for (const Message& english : catalogueOf(i18n::english).messages) {
    const Message* message = find(catalogue, english.id);
    if (message == nullptr) {
      ADD_FAILURE() << tag << ".txt lacks " << english.id;
      continue;
    }
    EXPECT_EQ(placeholdersOf(message->text), placeholdersOf(english.text))
        << tag << ".txt line " << message->line << ": the placeholders of " << english.id;
    if (tag != i18n::english && !english.mayStayEnglish && hasLetters(english.text)) {
      EXPECT_NE(message->text, english.text)
          << tag << ".txt line " << message->line << ": " << english.id << " is still English";
    }
  }
  for (const Message& message : catalogue.messages) {
    EXPECT_NE(find(catalogueOf(i18n::english), message.id), nullptr)
        << tag << ".txt line " << message.line << ": " << message.id
        << " is no English message (renamed, or gone?)";
  }
}

// A key's name, in the language or in English, is the name of that key only,
// so that the keys tool takes either for it.
TEST_P(EveryLanguage, NamesEachKeyOnce) {
  useLanguage(GetParam());
  for (std::uint32_t code = 1; code < 255; ++code) {
    const std::optional<std::string> name = keys::keyName(code);
    if (!name) {
      continue;
    }
    EXPECT_EQ(keys::keyCode(*name), code) << GetParam() << ": " << *name;
    EXPECT_EQ(keys::keyCode(*keys::englishKeyName(code)), code)
        << GetParam() << ": " << *keys::englishKeyName(code);
  }
  useLanguage(english);
}

TEST(EnglishCatalogue, SaysWhatThePlayersNotesSay) {
  EXPECT_EQ(sayInEnglish("check.direction_controls"), check::directionControls);
}

// The format as translators write it: what a line may hold, and what marks a
// name that may stay English.
TEST(CatalogueFormat, ReadsMessagesEscapesAndMarks) {
  const Catalogue catalogue = parseCatalogue(
      "\xEF\xBB\xBF# comment\r\n"
      "a.b = one {x}\\ntwo \\\\ three  \r\n"
      "\n"
      "# may stay as in English\n"
      "c = Tab\n"
      "d=Esc\n"
      "\n"
      "e = after the block\n");
  ASSERT_EQ(catalogue.problems, std::vector<std::string>{});
  ASSERT_EQ(catalogue.messages.size(), 4U);
  EXPECT_EQ(catalogue.messages[0].text, "one {x}\ntwo \\ three");
  EXPECT_EQ(catalogue.messages[0].line, 2U);
  EXPECT_FALSE(catalogue.messages[0].mayStayEnglish);
  EXPECT_TRUE(catalogue.messages[1].mayStayEnglish);
  EXPECT_EQ(catalogue.messages[2].text, "Esc");
  EXPECT_TRUE(catalogue.messages[2].mayStayEnglish);
  EXPECT_FALSE(catalogue.messages[3].mayStayEnglish);
}

TEST(CatalogueFormat, NamesEveryLineItCannotRead) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"no equals sign", "line 1: not \"message.id = text\""},
      {"= no id", "line 1: not \"message.id = text\""},
      {"an id = \\t", "line 1: not \"message.id = text\""},
      {"id = a \\t tab", "line 1: a backslash other than \\n or \\\\"},
      {"id = one\nid = two", "line 2: id is given twice"},
  };
  for (const auto& one : cases) {
    const Catalogue catalogue = parseCatalogue(one.text);
    ASSERT_EQ(catalogue.problems.size(), 1U) << one.text;
    EXPECT_EQ(catalogue.problems.front(), one.problem) << one.text;
  }
}

TEST(CatalogueFormat, FindsPlaceholders) {
  using Names = std::set<std::string, std::less<>>;
  EXPECT_EQ(placeholdersOf("{a} and {b_2}, {a} again"), (Names{"a", "b_2"}));
  EXPECT_EQ(placeholdersOf("{} { spaced } {open"), Names{});
}

}  // namespace
}  // namespace sashcaster::i18n
