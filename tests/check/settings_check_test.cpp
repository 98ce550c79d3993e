// The settings check run through its command as a player runs it, in a game
// folder (the game, the script hook, its loader and the plug-in beside the
// settings file).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "check/installation.h"
#include "config/temp_folder.h"
#include "support/built_in_keys.h"
#include "support/game_folder.h"

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
  std::array<std::string, 5> shown;  // each key's code as printed, "90 (Z)"
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
      const std::string shown = line.substr(line.find(" = ") + 3);
      output.shown[i - 1] = shown.substr(0, shown.find(")   ") + 1);
      // "off (-1)": the number as the file writes it, as the plug-in holds it.
      const std::string number = shown.starts_with("off (") ? shown.substr(5) : shown;
      output.codes[i - 1] = static_cast<std::uint32_t>(std::stoll(number));
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
  void SetUp() override { test::fillGameFolder("."); }
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

// The release's own files share the plug-in's name, as every file it puts in
// the game's folder does, and are never taken for a misnamed settings file.
TEST_F(GameFolder, ReleaseFilesAreNoFilesMeantForIt) {
  EXPECT_NE(std::find(releaseCompanions.begin(), releaseCompanions.end(),
                      std::filesystem::path(SASHCASTER_PLAYERS_NOTES).filename().string()),
            releaseCompanions.end())
      << "the player's notes are not among the release's files";
  for (const char* name : releaseCompanions) {
    testing::TempFolder::write(name, "");
  }
  expectFindings(runIn({}), {{std::nullopt, "there is no such file"}});
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

// A game folder holding these files, beside a correct settings file.
struct InstallCase {
  const char* name;
  std::vector<std::string> files;
  std::vector<Expected> findings;
};

std::vector<std::string> completeBut(std::string_view left) {
  std::vector<std::string> files;
  for (const char* file : test::gameFolderFiles) {
    if (file != left) {
      files.emplace_back(file);
    }
  }
  return files;
}

std::vector<std::string> withLoader(const char* loader) {
  std::vector<std::string> files = completeBut(loaderNames[0]);
  files.emplace_back(loader);
  return files;
}

const Expected noGame{std::nullopt,
                      "RDR2.exe is not in this folder, so it is not the game's folder: put the "
                      "files of Sashcaster and of the script hook beside RDR2.exe"};
const Expected noHook{std::nullopt,
                      "ScriptHookRDR2.dll is not in this folder: install the script hook for Red "
                      "Dead Redemption 2, with its files beside RDR2.exe."};
const Expected noLoader{
    std::nullopt,
    "No plug-in loader (dinput8.dll, or version.dll, winmm.dll or dsound.dll) is in this folder, "
    "so nothing loads the script hook or Sashcaster: put dinput8.dll from the script hook's "
    "download beside RDR2.exe. On Linux and Steam Deck, also set the game's launch options in "
    "Steam to WINEDLLOVERRIDES=\"dinput8=n,b\" %command%."};
const Expected noPlugIn{std::nullopt,
                        "Sashcaster.asi is not in this folder: copy it from the release beside "
                        "RDR2.exe"};

class Installations : public ::testing::TestWithParam<InstallCase> {
 protected:
  testing::TempFolder folder;
};

TEST_P(Installations, EachMissingFileIsAFindingWithItsFix) {
  testing::TempFolder::write("Sashcaster.ini", good);
  for (const std::string& file : GetParam().files) {
    testing::TempFolder::write(file, "");
  }
  const Output output = runIn({});
  EXPECT_EQ(output.codes, goodCodes);
  expectFindings(output, GetParam().findings);
}

INSTANTIATE_TEST_SUITE_P(
    Check, Installations,
    ::testing::Values(InstallCase{"CompleteFolder", completeBut(""), {}},
                      InstallCase{"NoGame", completeBut("RDR2.exe"), {noGame}},
                      InstallCase{"NoScriptHook", completeBut("ScriptHookRDR2.dll"), {noHook}},
                      InstallCase{"NoLoader", completeBut("dinput8.dll"), {noLoader}},
                      InstallCase{"NoPlugIn", completeBut("Sashcaster.asi"), {noPlugIn}},
                      InstallCase{"LoaderAsVersionDll", withLoader("version.dll"), {}},
                      InstallCase{"LoaderAsWinmmDll", withLoader("winmm.dll"), {}},
                      InstallCase{"LoaderAsDsoundDll", withLoader("dsound.dll"), {}},
                      InstallCase{
                          "NamesInAnotherLetterCase",
                          {"rdr2.EXE", "scripthookrdr2.dll", "DINPUT8.DLL", "sashcaster.ASI"},
                          {}},
                      InstallCase{"LoaderOfNoKnownName", withLoader("d3d11.dll"), {noLoader}},
                      InstallCase{"EmptyFolder", {}, {noGame, noHook, noLoader, noPlugIn}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(SettingsCheck, InstallationIsLookedForWhereTheFileIsGiven) {
  const testing::TempFolder folder;
  test::fillGameFolder(".");
  std::filesystem::create_directory("game");
  testing::TempFolder::write("game/Sashcaster.ini", good);
  const Output output = runIn({"game/Sashcaster.ini"});
  ASSERT_EQ(output.findings.size(), 4U) << ::testing::PrintToString(output.lines);
  EXPECT_TRUE(output.findings[0].starts_with("RDR2.exe is not in the folder game, so"))
      << output.findings[0];
}

TEST_F(GameFolder, SwitchedOffKeysShowAsTheFileWritesThem) {
  testing::TempFolder::write("Sashcaster.ini",
                             "[Sashcaster]\niXKey=-1\niWindowThrowFront=255\niWindowThrowLeft=+300"
                             "\niWindowThrowRight=-2147483648\n");
  const Output output = runIn({});
  const std::array<std::string, 5> shown = {"off (-1)", "off (255)", "off (300)",
                                            "off (-2147483648)", "83 (S)"};
  EXPECT_EQ(output.shown, shown);
  for (const std::string& line : output.lines) {
    EXPECT_EQ(line.find("4294967295"), std::string::npos) << line;
  }
}

TEST(SettingsCheck, ControllerLineNamesTheButtonsOfTheThrowControls) {
  const std::string line = controllerLine();
  for (const char* words :
       {"hold RB (INPUT_SPECIAL_ABILITY_ACTION) and push left, right or down on the D-pad or the "
        "left stick to throw that way",
        "for the front, hold RB, push up, and let go of RB while still pushing up",
        "need no settings"}) {
    EXPECT_NE(line.find(words), std::string::npos) << line;
  }
}

// The player's notes, with line ends and runs of spaces as single spaces.
std::string playersNotes() {
  std::ifstream file(SASHCASTER_PLAYERS_NOTES, std::ios::binary);
  std::string words;
  for (char c : std::string(std::istreambuf_iterator<char>(file), {})) {
    c = (c == '\r' || c == '\n') ? ' ' : c;
    if (c != ' ' || (!words.empty() && words.back() != ' ')) {
      words += c;
    }
  }
  return words;
}

TEST(SettingsCheck, PlayersNotesSayWhatTheCheckSays) {
  const std::string notes = playersNotes();
  ASSERT_FALSE(notes.empty());
  for (const char* words : {directionControls, protonLaunchOption, gameProgram, scriptHook,
                            loaderNames[0], "the game's folder (the one with RDR2.exe)"}) {
    EXPECT_NE(notes.find(words), std::string::npos) << words;
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
