// The keys tool's dialogue over scripted key presses, in a game folder.
#include "keys_tool/keys_dialogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "check/fix_command.h"
#include "config/settings.h"
#include "config/settings_keys.h"
#include "config/temp_folder.h"
#include "keys/key_names.h"
#include "keys_tool/keys_command.h"
#include "support/game_folder.h"

namespace sashcaster::keys_tool {
namespace {

constexpr std::uint32_t enter = 0x0D;
constexpr std::uint32_t esc = 0x1B;
constexpr std::uint32_t del = 0x2E;

struct DialogueCase {
  const char* name;
  std::string before;                  // the settings file at first
  std::vector<std::uint32_t> presses;  // input ends after them
  std::string after;                   // the settings file afterwards
  int status;
  std::vector<const char*> said;  // found in the dialogue, in this order
};

void PrintTo(const DialogueCase& param, std::ostream* out) {
  *out << param.name;
}

const std::string before = "[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=87\r\n";

// What a player who started the program with a double click can do nothing with.
void expectNoCommandLineAdvice(const std::string& said) {
  EXPECT_EQ(said.find("=KEY"), std::string::npos) << said;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    const std::string command =
        std::string(check::keysProgram) + " " + check::settingWord(index) + "=";
    EXPECT_EQ(said.find(command), std::string::npos) << said;
  }
}

class Dialogue : public ::testing::TestWithParam<DialogueCase> {
 protected:
  void SetUp() override {
    test::fillGameFolder(".");
    testing::TempFolder::write("Sashcaster.ini", GetParam().before);
  }
  testing::TempFolder folder;
};

TEST_P(Dialogue, SavesThePressedKeysOnlyWhenAsked) {
  std::size_t next = 0;
  const std::vector<std::uint32_t>& presses = GetParam().presses;
  const KeyPresses source = [&]() -> std::optional<std::uint32_t> {
    return next < presses.size() ? std::optional(presses[next++]) : std::nullopt;
  };
  std::ostringstream out;
  EXPECT_EQ(runDialogue("Sashcaster.ini", source, out), GetParam().status);
  std::ifstream file("Sashcaster.ini", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), GetParam().after);
  const std::string said = out.str();
  std::size_t at = 0;
  for (const char* words : GetParam().said) {
    at = said.find(words, at);
    EXPECT_NE(at, std::string::npos) << "not said after the words before it: " << words << "\n"
                                     << said;
  }
  expectNoCommandLineAdvice(said);
  EXPECT_EQ(next, presses.size()) << "the dialogue ended before every press was read";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Dialogue,
    ::testing::Values(
        DialogueCase{"PressedKeysAreSaved",
                     before,
                     {enter, 'Z', 'Q', enter, del, enter, enter},
                     "[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=90\r\niWindowThrowLeft=81\r\n"
                     "iWindowThrowBack=255\r\n",
                     exitWritten,
                     {"the trigger key:        X (88)", "Delete switches that throw off",
                      "Press the trigger key (now X (88)): kept", "the front throw's key:  Z (90)",
                      "the back throw's key:   off (255)", "Checking Sashcaster.ini", "No findings",
                      "Press Enter to close"}},
        DialogueCase{"UnusableKeysAreAskedAgain",
                     before,
                     {0xA0, 0xE8, 0x10, esc, enter},
                     before,
                     exitWritten,
                     {"use 16 (Shift)", "That key sends the code 232, which is not in the table",
                      "Shift (16)", "Nothing was saved.", "Press Enter to close"}},
        DialogueCase{
            "KeyOfAnotherThrowIsAskedForAgainAtOnce",
            before,
            {'A', 'D', 'Z', enter, enter, enter, enter, enter, enter},
            "[Sashcaster]\r\niXKey=90\r\niWindowThrowFront=87\r\n",
            exitWritten,
            {"A (65) is already the left throw's key: press another key, or Enter to "
             "keep X (88):",
             "D (68) is already the right throw's key: press another key, or Enter to "
             "keep X (88): Z (90)",
             "Press the front throw's key", "the trigger key:        Z (90)", "No findings"}},
        DialogueCase{"KeptKeyOfAnotherThrowIsAskedForAgain",
                     "[Sashcaster]\r\niWindowThrowFront=65\r\n",
                     {enter, enter, 'W', enter, enter, enter, enter, enter},
                     "[Sashcaster]\r\niWindowThrowFront=87\r\n",
                     exitWritten,
                     {"Press the front throw's key (now A (65)): \n  A (65) is already the left "
                      "throw's key: press another key: W (87)",
                      "No findings"}},
        DialogueCase{"KeptKeyThatNeverArrivesIsAskedForAgain",
                     "[Sashcaster]\r\niXKey=160\r\n",
                     {enter, 'X', enter, enter, enter, enter, enter, enter},
                     "[Sashcaster]\r\niXKey=88\r\n",
                     exitWritten,
                     {"Left Shift (160) never reaches the plug-in", "Press another key: X (88)",
                      "No findings"}},
        DialogueCase{"KeptKeyWhoseLineDoesNotLoadIsWrittenAsShown",
                     "[Sashcaster]\r\niXKey = abc ; mine\r\n",
                     {enter, enter, enter, enter, enter, enter, enter},
                     "[Sashcaster]\r\niXKey = 88 ; mine\r\n",
                     exitWritten,
                     {"X (88)", "No findings"}},
        DialogueCase{"OffIsShownWithTheCodeAsWritten",
                     "[Sashcaster]\r\niXKey=-1\r\niWindowThrowBack=300\r\n",
                     {esc, enter},
                     "[Sashcaster]\r\niXKey=-1\r\niWindowThrowBack=300\r\n",
                     exitWritten,
                     {"the trigger key:        off (-1)", "the back throw's key:   off (300)",
                      "Nothing was saved."}},
        DialogueCase{"NoChangeSavesNothing",
                     before,
                     {enter, enter, enter, enter, enter, enter, enter},
                     before,
                     exitWritten,
                     {"No key changed, so nothing was saved."}},
        DialogueCase{
            "EndOfInputLeaves", before, {'Z'}, before, exitWritten, {"Nothing was saved."}}),
    [](const auto& test) { return std::string(test.param.name); });

struct FileProblemCase {
  const char* name;
  void (*make)();  // lays out the folder
  const char* words;
};

TEST(DialogueOnAFileProblem, SaysWhyWritesNothingAndWaitsForEnter) {
  const FileProblemCase cases[] = {
      {"AFolder", [] { std::filesystem::create_directory("Sashcaster.ini"); }, "is a folder"},
      {"ANameWithATxt", [] { testing::TempFolder::write("Sashcaster.ini.txt", before); },
       "rename \"Sashcaster.ini.txt\" to Sashcaster.ini"},
      {"AReadOnlyFile",
       [] {
         testing::TempFolder::write("Sashcaster.ini", before);
         std::filesystem::permissions("Sashcaster.ini", std::filesystem::perms::owner_write,
                                      std::filesystem::perm_options::remove);
       },
       "Sashcaster.ini is read-only"},
  };
  for (const FileProblemCase& problem : cases) {
    SCOPED_TRACE(problem.name);
    const testing::TempFolder folder;
    test::fillGameFolder(".");
    problem.make();
    std::vector<std::uint32_t> presses{'Z', enter};
    std::size_t next = 0;
    std::ostringstream out;
    EXPECT_EQ(runDialogue(
                  "Sashcaster.ini",
                  [&]() -> std::optional<std::uint32_t> {
                    return next < presses.size() ? std::optional(presses[next++]) : std::nullopt;
                  },
                  out),
              exitFileProblem);
    EXPECT_NE(out.str().find(problem.words), std::string::npos) << out.str();
    EXPECT_EQ(next, 2U);
    EXPECT_FALSE(std::filesystem::exists("Sashcaster.ini.bak"));
    std::error_code ignored;
    std::filesystem::permissions("Sashcaster.ini", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ignored);
  }
}

}  // namespace
}  // namespace sashcaster::keys_tool
