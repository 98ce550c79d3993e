// The settings check run through its command as a player runs it, in a game
// folder (the plug-in and the script hook beside the settings file).
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "config/temp_folder.h"
#include "support/built_in_keys.h"

namespace sashcaster::check {
namespace {

using Codes = testing::KeyCodes;
using testing::builtInWith;
using testing::codeText;
namespace setting = testing::setting;
constexpr Codes defaults = testing::builtInCodes;

struct Expected {
  std::optional<std::size_t> line;
  std::string words;  // found in that finding's text
};

struct Output {
  int status = 0;
  std::vector<std::string> lines;
  Codes codes{};
  std::vector<std::string> findings;
  std::vector<std::string> notes;
};

Output runIn(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  Output output;
  output.status = runCheck(arguments, out, err);
  std::istringstream text(out.str());
  for (std::string line; std::getline(text, line);) {
    output.lines.push_back(line);
  }
  const bool report = !output.lines.empty() && output.lines.front().starts_with("Checking ");
  // The two last lines count the findings and tell the controller's buttons.
  for (std::size_t i = 1; report && i + 2 < output.lines.size(); ++i) {
    const std::string& line = output.lines[i];
    if (i <= 5) {
      const std::size_t equals = line.find(" = ");
      output.codes[i - 1] = static_cast<std::uint32_t>(std::stoul(line.substr(equals + 3)));
    } else if (line.starts_with("note: ")) {
      output.notes.push_back(line);
    } else {
      output.findings.push_back(line);
    }
  }
  return output;
}

void expectFindings(const Output& output, const std::vector<Expected>& expected) {
  SCOPED_TRACE(::testing::PrintToString(output.lines));
  EXPECT_EQ(output.findings.size(), expected.size());
  for (const Expected& finding : expected) {
    const std::string prefix = finding.line ? "line " + std::to_string(*finding.line) + ": " : "";
    bool found = false;
    for (const std::string& line : output.findings) {
      const bool placed = finding.line ? line.starts_with(prefix) : !line.starts_with("line ");
      found = found || (placed && line.find(finding.words) != std::string::npos);
    }
    EXPECT_TRUE(found) << "no finding " << prefix << "... " << finding.words;
  }
  EXPECT_EQ(output.status, expected.empty() ? exitNoFindings : exitFindings);
  const std::string last =
      expected.empty()
          ? "No findings"
          : std::to_string(expected.size()) + (expected.size() == 1 ? " finding:" : " findings:");
  ASSERT_GE(output.lines.size(), 2U);
  EXPECT_TRUE(output.lines[output.lines.size() - 2].starts_with(last));
  EXPECT_EQ(output.lines.back(), controllerLine());
}

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TempFolder::write("Sashcaster.asi", "");
    testing::TempFolder::write("ScriptHookRDR2.dll", "");
  }
  testing::TempFolder folder;
};

struct FileCase {
  const char* name;
  std::string text;
  Codes codes;
  std::vector<Expected> findings;
  std::size_t notes = 0;
  friend void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }
};

class SettingsFiles : public GameFolder, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SettingsFiles, GiveTheirCodesAndFindings) {
  testing::TempFolder::write("Sashcaster.ini", GetParam().text);
  const Output output = runIn({});
  EXPECT_EQ(output.codes, GetParam().codes);
  expectFindings(output, GetParam().findings);
  EXPECT_EQ(output.notes.size(), GetParam().notes);
}

const std::string good = "[Sashcaster]\niXKey=90\niWindowThrowFront=38\n";

// ASCII text as Notepad saves it as "Unicode": UTF-16 little-endian with its mark.
std::string notepadUnicode(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}
constexpr Codes goodCodes = builtInWith({{setting::trigger, 90}, {setting::front, 38}});

INSTANTIATE_TEST_SUITE_P(
    Check, SettingsFiles,
    ::testing::Values(
        FileCase{"PlainFile", good, goodCodes, {}},
        FileCase{
            "LowerCaseName", "[Sashcaster]\nixkey = 90\n", defaults, {{2, "did you mean iXKey?"}}},
        FileCase{"MisspelledNames",
                 "[Sashcaster]\niWindowThrowfront=1\niWindowThrowBak=2\n",
                 defaults,
                 {{2, "did you mean iWindowThrowFront?"}, {3, "did you mean iWindowThrowBack?"}}},
        FileCase{"UnknownKey", good + "iYKeys=1\n", goodCodes, {{4, "\"iYKeys\" is no key"}}},
        FileCase{"NeitherKeyNorComment", good + "iXKey 91\n", goodCodes, {{4, "neither a key"}}},
        FileCase{"KeyGivenTwice",
                 good + "iXKey=89\n",
                 builtInWith({{setting::trigger, 89}, {setting::front, 38}}),
                 {{4, "after line 2: the later line wins"}}},
        FileCase{"KeyBeforeAnyHeader",
                 "iXKey=90\n" + good,
                 goodCodes,
                 {{1, "before any section header"}}},
        FileCase{"KeyInAnotherSection",
                 good + "[Keys]\niWindowThrowBack=40\n",
                 goodCodes,
                 {{5, "in the section [Keys]"}}},
        FileCase{"NoSection", "[Keys]\nfoo=1\n", defaults, {{std::nullopt, "no [Sashcaster]"}}},
        FileCase{"HeaderInLowerCase",
                 "[sashcaster]\niXKey=90\n",
                 defaults,
                 {{1, "[sashcaster] is not the section"}}},
        FileCase{
            "HeaderInOtherCase", "[SashCaster]\niXKey=90\n", defaults, {{1, "write [Sashcaster]"}}},
        FileCase{
            "HeaderMisspelled", "[Sashcastor]\niXKey=90\n", defaults, {{1, "write [Sashcaster]"}}},
        FileCase{"EmptyValue", "[Sashcaster]\niXKey=\n", defaults, {{2, "iXKey has no value"}}},
        FileCase{"LetterForValue", "[Sashcaster]\niXKey=Z\n", defaults, {{2, "90 for Z"}}},
        FileCase{"KeyNameForValueNamesTheCommandThatSetsIt",
                 "[Sashcaster]\niWindowThrowLeft=Left arrow\n",
                 defaults,
                 {{2, "37 for Left arrow, or run Sashcaster-keys.exe left=\"Left arrow\""}}},
        FileCase{"OneSidedModifierNamedForValueGivesTheCodeThatArrives",
                 "[Sashcaster]\niXKey=Left Shift\n",
                 defaults,
                 {{2, "16 for Shift, or run Sashcaster-keys.exe trigger=Shift"}}},
        FileCase{"OneSidedModifierNeverArrives",
                 "[Sashcaster]\niXKey=160\n",
                 builtInWith({{setting::trigger, 160}}),
                 {{2,
                   "Left Shift (160) never reaches the plug-in: Shift arrives as 16 whichever "
                   "side is pressed; use 16 (Shift), or run Sashcaster-keys.exe trigger=Shift"}}},
        FileCase{
            "MouseButtonNeverArrives",
            "[Sashcaster]\niWindowThrowBack=5\n",
            builtInWith({{setting::back, 5}}),
            {{2, "a mouse button cannot be used; choose a key with Sashcaster-keys.exe back="}}},
        FileCase{"KeyNameForValue",
                 "[Sashcaster]\niXKey=X key\n",
                 defaults,
                 {{2, "is not a number, so iXKey keeps its earlier value"}}},
        FileCase{"NumberPast32Bits",
                 "[Sashcaster]\niWindowThrowLeft=2147483648\n",
                 defaults,
                 {{2, "outside -2147483648 to 2147483647"}}},
        FileCase{
            "HexadecimalValue",
            "[Sashcaster]\niXKey=0x5A\n",
            builtInWith({{setting::trigger, 0}}),
            {{2, "reads as 0, which is no key: the plug-in reads decimal numbers only. Write 90"}}},
        FileCase{
            "HexadecimalOneSidedModifierGetsTheCommandForTheCodeThatArrives",
            "[Sashcaster]\niXKey=0xA0\n",
            builtInWith({{setting::trigger, 0}}),
            {{2, "Write 160, the decimal of 0xA0, or run Sashcaster-keys.exe trigger=Shift."}}},
        FileCase{"CodeOfNoKey",
                 "[Sashcaster]\niXKey=7\n",
                 builtInWith({{setting::trigger, 7}}),
                 {{2, "no key"}}},
        FileCase{"TriggerOnADirectionKey",
                 "[Sashcaster]\niXKey=" + codeText(setting::left) + "\n",
                 builtInWith({{setting::trigger, testing::builtInSettings.iWindowThrowLeft}}),
                 {{2, "the left throw can never happen"}}},
        FileCase{"ClashIsTiedToTheLineOfTheKeyThatLoaded",
                 "[Sashcaster]\niXKey=" + codeText(setting::left) + "\niWindowThrowLeft=A\n",
                 builtInWith({{setting::trigger, testing::builtInSettings.iWindowThrowLeft}}),
                 {{2, "the left throw can never happen"}, {3, "is not a number"}}},
        FileCase{
            "ClashNamesTheCommandThatSetsTheLaterKey",
            "[Sashcaster]\niWindowThrowRight=" + codeText(setting::left) + "\n",
            builtInWith({{setting::right, testing::builtInSettings.iWindowThrowLeft}}),
            {{2, "Give each direction its own key, such as with Sashcaster-keys.exe right=KEY"}}},
        FileCase{"TwoDirectionsOnOneKey",
                 "[Sashcaster]\niWindowThrowBack=" + codeText(setting::front) + "\n",
                 builtInWith({{setting::back, testing::builtInSettings.iWindowThrowFront}}),
                 {{2, "the back throw can never happen"}}},
        FileCase{"TextAfterTheNumberIsANote",
                 "[Sashcaster]\niXKey = 90 ; Z\n",
                 builtInWith({{setting::trigger, 90}}),
                 {},
                 1},
        FileCase{"SwitchedOffKeysAreNotes",
                 "[Sashcaster]\niXKey=-1\niWindowThrowBack=300\n",
                 builtInWith({{setting::trigger, 4294967295U}, {setting::back, 300}}),
                 {},
                 2},
        FileCase{"ByteOrderMarkIsANote", "\xEF\xBB\xBF" + good, goodCodes, {}, 1},
        FileCase{"UnicodeFileIsANote", notepadUnicode(good), goodCodes, {}, 1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(GameFolder, MissingFileNamesTheFilesMeantForIt) {
  testing::TempFolder::write("Sashcaster.ini.txt", good);
  testing::TempFolder::write("Sashcaster (1).ini", good);
  testing::TempFolder::write("Sashcaster.txt", good);
  const Output output = runIn({});
  EXPECT_EQ(output.codes, defaults);
  expectFindings(output, {{std::nullopt, "there is no such file"},
                          {std::nullopt, "\"Sashcaster.ini.txt\""},
                          {std::nullopt, "\"Sashcaster (1).ini\""},
                          {std::nullopt,
                           "\"Sashcaster.txt\" in this folder: rename it to "
                           "Sashcaster.ini. Windows may hide extensions"}});
}

TEST_F(GameFolder, UnreadableFilesKeepTheDefaults) {
  std::filesystem::create_directory("folder.ini");
  testing::TempFolder::write("big.ini", std::string(1048577, ';'));
  const struct {
    const char* file;
    const char* words;
  } cases[] = {{"folder.ini", "is a folder"}, {"big.ini", "holds 1048577 bytes, more than 1 MiB"}};
  for (const auto& unreadable : cases) {
    const Output output = runIn({unreadable.file});
    EXPECT_EQ(output.codes, defaults);
    expectFindings(output, {{std::nullopt, unreadable.words}});
  }
}

#ifndef _WIN32
TEST_F(GameFolder, FileThatCannotBeOpenedIsAFinding) {
  std::filesystem::create_symlink("Sashcaster.ini", "Sashcaster.ini");
  expectFindings(runIn({}), {{std::nullopt, "cannot be opened"}});
}

TEST_F(GameFolder, NameInAnotherCaseIsAFileMeantForIt) {
  testing::TempFolder::write("sashcaster.INI", good);
  expectFindings(runIn({}),
                 {{std::nullopt, "there is no such file"}, {std::nullopt, "\"sashcaster.INI\""}});
}
#endif

TEST(SettingsCheck, FileAwayFromThePlugInAndScriptHookIsAFinding) {
  const testing::TempFolder folder;
  testing::TempFolder::write("Sashcaster.ini", good);
  expectFindings(runIn({}), {{std::nullopt, "Sashcaster.asi is not in this folder"},
                             {std::nullopt, "ScriptHookRDR2.dll is not in this folder"}});
}

TEST(SettingsCheck, ControllerLineNamesTheButtonsOfTheThrowControls) {
  const std::string line = controllerLine();
  for (const char* words : {"hold RB (INPUT_SPECIAL_ABILITY_ACTION) with D-pad left, D-pad right "
                            "or D-pad down",
                            "for the front, hold D-pad up and let go of RB", "need no settings"}) {
    EXPECT_NE(line.find(words), std::string::npos) << line;
  }
}

TEST(SettingsCheck, BadCommandLineExitsWith2AndHelpWith0) {
  EXPECT_EQ(runIn({"a.ini", "b.ini"}).status, exitBadCommandLine);
  EXPECT_EQ(runIn({"--verbose"}).status, exitBadCommandLine);
  const Output help = runIn({"--help"});
  EXPECT_EQ(help.status, exitNoFindings);
  EXPECT_TRUE(!help.lines.empty() && help.lines.front().starts_with("usage: sashcaster-check"));
}

}  // namespace
}  // namespace sashcaster::check
