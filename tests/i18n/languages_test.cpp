// The language of the messages: tags as players, Linux and Windows write
// them, the plural forms, and the letters the programs fold and measure.
#include "i18n/languages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "i18n/messages.h"
#include "i18n/system_language.h"
#include "i18n/text_case.h"

namespace sashcaster::i18n {
namespace {

TEST(LanguageTags, NameTheLanguageWhateverTheirSpelling) {
  const struct {
    const char* tag;
    std::optional<std::string_view> language;
  } cases[] = {
      {"de", "de"},
      {"DE", "de"},
      {"de_DE.UTF-8", "de"},
      {"de-AT", "de"},
      {"fr_CA", "fr"},
      {"es-MX", "es"},
      {"es_ES@euro", "es"},
      {"pt-BR", "pt-BR"},
      {"pt_br", "pt-BR"},
      {"pt-PT", "pt-BR"},
      {"pt", "pt-BR"},
      {"zh-CN", "zh-Hans"},
      {"zh_SG", "zh-Hans"},
      {"zh-Hans", "zh-Hans"},
      {"zh-hans-HK", "zh-Hans"},
      {"zh-TW", "zh-Hant"},
      {"zh_HK.UTF-8", "zh-Hant"},
      {"zh-MO", "zh-Hant"},
      {"zh-Hant", "zh-Hant"},
      {"zh", "zh-Hans"},
      {"ja_JP.UTF-8", "ja"},
      {"ko-KR", "ko"},
      {"ru_RU.UTF-8", "ru"},
      {"pl-PL", "pl"},
      {"it", "it"},
      {"en-GB", "en"},
      {"C", "en"},
      {"POSIX", "en"},
      {"C.UTF-8", "en"},
      {"sv_SE.UTF-8", std::nullopt},
      {"sv", std::nullopt},
      {"", std::nullopt},
      {"english", std::nullopt},
  };
  for (const auto& one : cases) {
    EXPECT_EQ(languageOfTag(one.tag), one.language) << one.tag;
  }
}

TEST(LanguageTags, PluralFormsFollowEachLanguage) {
  const struct {
    const char* language;
    std::uint64_t count;
    const char* form;
  } cases[] = {
      {"en", 1, "one"},   {"en", 0, "other"}, {"en", 2, "other"},      {"de", 21, "other"},
      {"fr", 0, "one"},   {"fr", 1, "one"},   {"fr", 2, "other"},      {"pt-BR", 0, "one"},
      {"ru", 1, "one"},   {"ru", 21, "one"},  {"ru", 11, "many"},      {"ru", 2, "few"},
      {"ru", 24, "few"},  {"ru", 12, "many"}, {"ru", 5, "many"},       {"ru", 0, "many"},
      {"pl", 1, "one"},   {"pl", 21, "many"}, {"pl", 22, "few"},       {"pl", 14, "many"},
      {"ja", 1, "other"}, {"ko", 1, "other"}, {"zh-Hant", 1, "other"},
  };
  for (const auto& one : cases) {
    EXPECT_EQ(pluralForm(one.language, one.count), one.form) << one.language << " " << one.count;
  }
}

#ifndef _WIN32
// POSIX: LC_ALL, then LC_MESSAGES, then LANG; the first one set decides.
TEST(SystemLanguage, FollowsTheLocaleVariablesInOrder) {
  const struct {
    const char* all;
    const char* messages;
    const char* lang;
    std::string_view language;
  } cases[] = {
      {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "ru"},
      {"", "de_DE.UTF-8", "fr_FR.UTF-8", "de"},
      {"", "", "ja_JP.UTF-8", "ja"},
      {"sv_SE.UTF-8", "de_DE.UTF-8", "", "en"},
      {"", "", "C.UTF-8", "en"},
      {"", "", "", "en"},
  };
  // The test's one thread is the only one to touch the environment.
  const auto set = [](const char* name, const char* value) {
    setenv(name, value, 1);  // NOLINT(concurrency-mt-unsafe)
  };
  for (const auto& one : cases) {
    set("LC_ALL", one.all);
    set("LC_MESSAGES", one.messages);
    set("LANG", one.lang);
    EXPECT_EQ(systemLanguage(), one.language) << one.all << "|" << one.messages << "|" << one.lang;
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    unsetenv(name);  // NOLINT(concurrency-mt-unsafe)
  }
}
#endif

TEST(LanguageOption, IsTakenOutOfTheArgumentsAndUsed) {
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> left;
    std::string_view language;
  } cases[] = {
      {{"--lang", "de", "a.ini"}, {"a.ini"}, "de"},
      {{"a.ini", "--lang=pt_BR"}, {"a.ini"}, "pt-BR"},
      {{"--lang", "ZH-tw", "--lang", "ru"}, {}, "ru"},
      {{"--language", "x"}, {"--language", "x"}, "en"},
  };
  for (const auto& one : cases) {
    useLanguage(english);
    std::vector<std::string> arguments = one.arguments;
    EXPECT_EQ(takeLanguageOption(arguments), "");
    EXPECT_EQ(arguments, one.left);
    EXPECT_EQ(currentLanguage(), one.language);
  }
  useLanguage(english);
}

TEST(LanguageOption, RefusesALanguageItDoesNotSpeakListingTheTags) {
  for (std::vector<std::string> arguments :
       {std::vector<std::string>{"--lang", "sv"}, std::vector<std::string>{"--lang"}}) {
    useLanguage(english);
    const std::string problem = takeLanguageOption(arguments);
    EXPECT_NE(problem.find("en, fr, de, it, es, pt-BR, pl, ru, ja, ko, zh-Hans, zh-Hant"),
              std::string::npos)
        << problem;
    EXPECT_EQ(currentLanguage(), english);
  }
}

TEST(Messages, FillNamedPlaceholdersAndCountInTheLanguagesForms) {
  useLanguage(english);
  EXPECT_EQ(say("check.checking", {{"file", "{file} a.ini"}}), "Checking {file} a.ini");
  EXPECT_EQ(say("check.checking"), "Checking {file}");
  EXPECT_EQ(sayCount("check.findings", 1).substr(0, 10), "1 finding:");
  EXPECT_EQ(sayCount("check.findings", 2).substr(0, 11), "2 findings:");
  EXPECT_EQ(say("no.such.message"), "no.such.message");
}

TEST(TextCase, FoldsTheLettersOfEveryLanguageWithCases) {
  EXPECT_EQ(lowerCase("Leertaste ÄÖÜ"), "leertaste äöü");
  EXPECT_EQ(lowerCase("ENTRÉE Ç"), "entrée ç");
  EXPECT_EQ(lowerCase("ŁĄĘŚŻŹĆŃÓ"), "łąęśżźćńó");
  EXPECT_EQ(lowerCase("ПРОБЕЛ Ё"), "пробел ё");
  EXPECT_EQ(lowerCase("スペース 空格"), "スペース 空格");
}

TEST(TextCase, CountsWideCharactersAsTwoColumns) {
  EXPECT_EQ(displayWidth("the trigger key:"), 16U);
  EXPECT_EQ(displayWidth("Пробел"), 6U);
  EXPECT_EQ(displayWidth("トリガーキー:"), 13U);
  EXPECT_EQ(displayWidth("스페이스"), 8U);
}

}  // namespace
}  // namespace sashcaster::i18n
