// Both programs in every language the catalogues hold: the report, the
// refusals and the dialogue say what the language's catalogue says, keep the
// codes, the key lines' shape and the exit statuses of English, and say
// something else than English.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "config/temp_folder.h"
#include "i18n/languages.h"
#include "i18n/messages.h"
#include "keys_tool/keys_command.h"
#include "keys_tool/keys_dialogue.h"
#include "support/game_folder.h"

namespace sashcaster::i18n {
namespace {

struct Said {
  int status = 0;
  std::vector<std::string> lines;
  std::string err;
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

template <typename Command>
Said run(Command command, std::string_view language, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--lang", std::string(language)});
  std::ostringstream out;
  std::ostringstream err;
  Said result;
  result.status = command(arguments, out, err);
  result.lines = linesOf(out.str());
  result.err = err.str();
  useLanguage(english);
  return result;
}

// A message as the language says it, for comparing with what was printed.
std::string said(std::string_view language, std::string_view id,
                 std::initializer_list<Value> values = {}) {
  useLanguage(language);
  std::string text = say(id, values);
  useLanguage(english);
  return text;
}

class Spoken : public ::testing::TestWithParam<std::string_view> {
 protected:
  void SetUp() override { test::fillGameFolder("."); }
  testing::TempFolder folder;
};

std::string tagName(const ::testing::TestParamInfo<std::string_view>& info) {
  std::string name(info.param);
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryLanguageButEnglish, Spoken,
                         ::testing::ValuesIn(languages.begin() + 1, languages.end()), tagName);

TEST_P(Spoken, CheckReportsInTheLanguageWithEnglishCodesAndStatus) {
  const std::string_view language = GetParam();
  testing::TempFolder::write("Sashcaster.ini", "[Sashcaster]\r\niXKey=0x58\r\n");
  const Said inEnglish = run(check::runCheck, i18n::english, {});
  const Said spoken = run(check::runCheck, language, {});
  EXPECT_EQ(spoken.status, inEnglish.status);
  ASSERT_EQ(spoken.lines.size(), inEnglish.lines.size());
  EXPECT_EQ(spoken.lines.front(), said(language, "check.checking", {{"file", "Sashcaster.ini"}}));
  // The five key lines keep "iXKey = 0 (", whatever the key's name.
  for (std::size_t i = 1; i <= 5; ++i) {
    const std::string shape = inEnglish.lines[i].substr(0, inEnglish.lines[i].find('(') + 1);
    EXPECT_TRUE(spoken.lines[i].starts_with(shape)) << spoken.lines[i];
  }
  EXPECT_EQ(spoken.lines[6], said(language, "check.line", {{"line", "2"}}) + " " +
                                 said(language, "value.hexadecimal",
                                      {{"key", "iXKey"},
                                       {"value", "0x58"},
                                       {"decimal", "88"},
                                       {"hex", "0x58"},
                                       {"command", "Sashcaster-keys.exe trigger=X"}}));
  EXPECT_EQ(spoken.lines[7], said(language, "check.findings.one", {{"count", "1"}}));
  for (std::size_t i = 0; i < spoken.lines.size(); ++i) {
    EXPECT_NE(spoken.lines[i], inEnglish.lines[i]) << "still English";
  }
}

TEST_P(Spoken, KeysToolRefusesInTheLanguageWithEnglishStatus) {
  const std::string_view language = GetParam();
  const Said inEnglish = run(keys_tool::runKeys, i18n::english, {"front=10"});
  const Said spoken = run(keys_tool::runKeys, language, {"front=10"});
  EXPECT_EQ(spoken.status, inEnglish.status);
  EXPECT_EQ(spoken.err,
            "sashcaster-keys: " + said(language, "keys.no_key_sends", {{"code", "10"}}) + "\n" +
                said(language, "keys.every_name", {{"program", keys_tool::programName}}) + "\n");
  EXPECT_NE(spoken.err, inEnglish.err);
}

TEST_P(Spoken, KeysToolTakesKeyNamesInTheLanguageAndInEnglish) {
  const std::string_view language = GetParam();
  const std::string space = said(language, "key.space");
  for (const std::string& name : {space, std::string("Space")}) {
    const Said spoken = run(keys_tool::runKeys, language, {"back=" + name});
    EXPECT_EQ(spoken.status, keys_tool::exitWritten) << name << ": " << spoken.err;
    EXPECT_TRUE(std::any_of(spoken.lines.begin(), spoken.lines.end(), [](const std::string& line) {
      return line.starts_with("iWindowThrowBack = 32 (");
    })) << name;
  }
}

TEST_P(Spoken, DialogueAsksInTheLanguage) {
  const std::string_view language = GetParam();
  useLanguage(language);
  const std::vector<std::uint32_t> presses{0x1B};  // Esc at the first question
  std::size_t next = 0;
  std::ostringstream out;
  keys_tool::askForKeys(
      Settings{},
      [&]() -> std::optional<std::uint32_t> {
        return next < presses.size() ? std::optional(presses[next++]) : std::nullopt;
      },
      out);
  const std::string enter = say("key.enter");
  const std::string intro = say(
      "dialogue.intro", {{"enter", enter}, {"delete", say("key.delete")}, {"esc", say("key.esc")}});
  const std::string question =
      say("dialogue.press", {{"label", say("setting.trigger.label")}, {"key", "X (88)"}});
  useLanguage(english);
  EXPECT_NE(out.str().find(intro), std::string::npos) << out.str();
  EXPECT_NE(out.str().find(question), std::string::npos) << out.str();
  EXPECT_NE(intro, sayInEnglish("dialogue.intro",
                                {{"enter", "Enter"}, {"delete", "Delete"}, {"esc", "Esc"}}));
}

}  // namespace
}  // namespace sashcaster::i18n
