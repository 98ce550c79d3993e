// sashcaster-keys run through its command as a player runs it, in a game
// folder: the bytes it writes, what it keeps, and what it refuses.
#include "keys_tool/keys_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "check/fix_command.h"
#include "config/settings.h"
#include "config/settings_keys.h"
#include "config/temp_folder.h"
#include "keys_tool/key_choice.h"
#include "support/game_folder.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <thread>
#endif

namespace sashcaster::keys_tool {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> bytesOf(const fs::path& file) {
  if (!fs::is_regular_file(file)) {
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesHere() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string shipped() {
  return *bytesOf(SASHCASTER_SHIPPED_SETTINGS);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

// ASCII text in UTF-16 with its mark, in either byte order.
std::string utf16(const std::string& ascii, bool bigEndian = false) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : ascii) {
    bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return bytes;
}

// The names of a complete installation, with these beside them, sorted.
std::vector<std::string> installationWith(std::vector<std::string> names) {
  names.insert(names.end(), std::begin(test::gameFolderFiles), std::end(test::gameFolderFiles));
  std::sort(names.begin(), names.end());
  return names;
}

std::size_t lineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override { test::fillGameFolder("."); }

  int run(const std::vector<std::string>& arguments) {
    out.str("");
    err.str("");
    return runKeys(arguments, out, err);
  }

  testing::TempFolder folder;
  std::ostringstream out;
  std::ostringstream err;
};

struct WriteCase {
  const char* name;
  std::optional<std::string> before;  // none: no file
  std::vector<std::string> arguments;
  std::string after;
  int status;
};

void PrintTo(const WriteCase& param, std::ostream* out) {
  *out << param.name;
}

class Writes : public GameFolder, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, ChangeOnlyTheValuesSetAndKeepTheOldFileAsBak) {
  const WriteCase& param = GetParam();
  if (param.before) {
    testing::TempFolder::write("Sashcaster.ini", *param.before);
  }
  EXPECT_EQ(run(param.arguments), param.status) << err.str() << out.str();
  EXPECT_EQ(bytesOf("Sashcaster.ini"), param.after);
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), param.before);
  EXPECT_EQ(namesHere(), param.before ? installationWith({"Sashcaster.ini", "Sashcaster.ini.bak"})
                                      : installationWith({"Sashcaster.ini"}));
  EXPECT_NE(out.str().find("Checking Sashcaster.ini"), std::string::npos) << out.str();
}

const std::string section = "[Sashcaster]\r\niXKey=88\r\n";

INSTANTIATE_TEST_SUITE_P(
    Keys, Writes,
    ::testing::Values(
        WriteCase{"ValueOfALfFile",
                  "[Sashcaster]\niXKey=88\niWindowThrowFront=87\n",
                  {"trigger=z"},
                  "[Sashcaster]\niXKey=90\niWindowThrowFront=87\n",
                  0},
        WriteCase{"SpacesAndTextAfterTheValueStay",
                  "[Sashcaster]\r\n  iXKey = 88 ; X\r\n",
                  {"iXKey=F5"},
                  "[Sashcaster]\r\n  iXKey = 116 ; X\r\n",
                  0},
        WriteCase{"EmptyValueGetsTheCode",
                  "[Sashcaster]\r\niXKey = \r\n",
                  {"trigger=Left arrow"},
                  "[Sashcaster]\r\niXKey = 37\r\n",
                  0},
        WriteCase{"MissingKeyAfterTheSectionsLastKeyLine",
                  "\xEF\xBB\xBF" + section + "; end\r\n[Other]\r\nx=1\r\n",
                  {"back=down arrow", "left=Q"},
                  "\xEF\xBB\xBF" + section +
                      "iWindowThrowLeft=81\r\niWindowThrowBack=40\r\n; end\r\n[Other]\r\nx=1\r\n",
                  0},
        WriteCase{"MissingKeyInASectionWithoutKeys",
                  "iXKey=1\n[Sashcaster]\n[Keys]\niXKey=2\n",
                  {"trigger=Z"},
                  "iXKey=1\n[Sashcaster]\niXKey=90\n[Keys]\niXKey=2\n",
                  1},
        WriteCase{"LaterOfTwoLinesChanges",
                  "[Sashcaster]\niXKey=88\niXKey=89\n",
                  {"trigger=90"},
                  "[Sashcaster]\niXKey=88\niXKey=90\n",
                  1},
        WriteCase{"LinesAddedToALfFileEndInLf",
                  "; mine\n",
                  {"front=Z"},
                  "; mine\n[Sashcaster]\niWindowThrowFront=90\n",
                  0},
        WriteCase{"CommonSpellingsAndMinusOneForOff",
                  section,
                  {"trigger=escape", "front=Num 2", "left=PgDn", "right=spacebar", "back=-1"},
                  "[Sashcaster]\r\niXKey=27\r\niWindowThrowFront=98\r\niWindowThrowLeft=34\r\n"
                  "iWindowThrowRight=32\r\niWindowThrowBack=255\r\n",
                  0},
        WriteCase{"SectionAddedAtTheEnd",
                  "; mine\r\n[sashcaster]\r\niXKey=1",
                  {"front=Z", "trigger=off"},
                  "; mine\r\n[sashcaster]\r\niXKey=1\r\n[Sashcaster]\r\niXKey=255\r\n"
                  "iWindowThrowFront=90",
                  1},
        WriteCase{"Utf16LittleEndian",
                  utf16(section),
                  {"front=Z"},
                  utf16(section + "iWindowThrowFront=90\r\n"),
                  0},
        WriteCase{"Utf16BigEndian",
                  utf16(section, true),
                  {"trigger=Numpad 2"},
                  utf16("[Sashcaster]\r\niXKey=98\r\n", true),
                  0},
        WriteCase{
            "NoFileGivesTheShippedOne",
            std::nullopt,
            {"--file", "Sashcaster.ini", "left=Left arrow"},
            replaced(shipped(), "iWindowThrowLeft=" + std::to_string(Settings{}.iWindowThrowLeft),
                     "iWindowThrowLeft=37"),
            0}),
    [](const auto& test) { return std::string(test.param.name); });

struct RefusedCase {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  const char* words;  // found in what the program says
};

void PrintTo(const RefusedCase& param, std::ostream* out) {
  *out << param.name;
}

class Refusals : public GameFolder, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refusals, ChangeNothing) {
  const std::string bytes = "[Sashcaster]\niXKey=88\n";
  testing::TempFolder::write("Sashcaster.ini", bytes);
  testing::TempFolder::write("Big.ini", std::string(1048577, ';'));
  testing::TempFolder::write("Full.ini", std::string(1048576, ';'));
  fs::create_directory("Folder.ini");
  testing::TempFolder::write("Other.ini.txt", bytes);
  testing::TempFolder::write("Locked.ini", bytes);
  fs::permissions("Locked.ini",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  testing::TempFolder::write("Sashcaster.ini.bak", "old");
  const std::vector<std::string> names = namesHere();
  EXPECT_EQ(run(GetParam().arguments), GetParam().status);
  EXPECT_NE(err.str().find(GetParam().words), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(bytesOf("Sashcaster.ini"), bytes);
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), "old");
  EXPECT_EQ(bytesOf("Big.ini")->size(), 1048577U);
  EXPECT_EQ(bytesOf("Full.ini")->size(), 1048576U);
  EXPECT_EQ(bytesOf("Locked.ini"), bytes);
  EXPECT_EQ(bytesOf("Other.ini.txt"), bytes);
  EXPECT_EQ(namesHere(), names);
  fs::permissions("Locked.ini", fs::perms::owner_write, fs::perm_options::add);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Refusals,
    ::testing::Values(
        RefusedCase{"UnknownSetting", {"side=Z"}, 2, "\"side\" is no setting"},
        RefusedCase{"UnknownKey", {"left=Lft"}, 2, "\"Lft\" is no key name"},
        RefusedCase{"OneSideOfShift", {"left=Left Shift"}, 2, "use 16 (Shift)"},
        RefusedCase{"MouseButton", {"left=mouse 5"}, 2, "Mouse 5 (6) never reaches the plug-in"},
        RefusedCase{"CodeOfNoKey", {"left=07"}, 2, "no key sends the code 7"},
        RefusedCase{"SettingTwice", {"left=Z", "iWindowThrowLeft=Q"}, 2, "given twice"},
        RefusedCase{"NoSetting", {}, 2, "no key to set"},
        RefusedCase{"AFolder", {"--file", "Folder.ini", "left=Z"}, 3, "is a folder"},
        RefusedCase{"OverOneMiB", {"--file", "Big.ini", "left=Z"}, 3, "ignores it"},
        RefusedCase{"GrowingPastOneMiB", {"--file", "Full.ini", "left=Z"}, 3, "would grow past"},
        RefusedCase{"FileWhoseNameGotATxt",
                    {"--file", "Other.ini", "left=Z"},
                    3,
                    "there is \"Other.ini.txt\", so nothing was written.\nThe plug-in reads only "
                    "Other.ini: rename \"Other.ini.txt\" to Other.ini"},
        RefusedCase{
            "ReadOnlyFile", {"--file", "Locked.ini", "left=Z"}, 3, "Locked.ini is read-only"},
        RefusedCase{"NoSuchFolder",
                    {"--file", "none/Sashcaster.ini", "left=Z"},
                    3,
                    "Cannot write in the folder none"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(GameFolder, BackupThatCannotBeReplacedLeavesFileAndBackupAsTheyWere) {
  testing::TempFolder::write("Sashcaster.ini", section);
  fs::create_directories("Sashcaster.ini.bak/inside");
  const std::vector<std::string> names = namesHere();
  EXPECT_EQ(run({"trigger=Z"}), exitFileProblem);
  EXPECT_NE(err.str().find("Cannot replace Sashcaster.ini.bak"), std::string::npos) << err.str();
  EXPECT_EQ(bytesOf("Sashcaster.ini"), section);
  EXPECT_TRUE(fs::is_directory("Sashcaster.ini.bak/inside"));
  EXPECT_EQ(namesHere(), names);
}

TEST_F(GameFolder, ReadOnlyBackupIsReplacedWithNothingLeftBehind) {
  testing::TempFolder::write("Sashcaster.ini", section);
  testing::TempFolder::write("Sashcaster.ini.bak", "older");
  fs::permissions("Sashcaster.ini.bak", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(run({"trigger=Z"}), exitWritten) << err.str();
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), section);
  EXPECT_EQ(namesHere(), installationWith({"Sashcaster.ini", "Sashcaster.ini.bak"}));
}

TEST_F(GameFolder, ReadOnlyFolderIsRefusedWithWhatToDo) {
  fs::create_directory("game");
  testing::TempFolder::write("game/Sashcaster.ini", section);
  fs::permissions("game", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const bool writable = std::ofstream("game/probe").good();
  if (writable) {
    fs::remove("game/probe");
    fs::permissions("game", fs::perms::owner_all, fs::perm_options::add);
    GTEST_SKIP() << "this user writes in read-only folders (root)";
  }
  EXPECT_EQ(run({"--file", "game/Sashcaster.ini", "trigger=Z"}), exitFileProblem);
  EXPECT_NE(err.str().find("Run as administrator"), std::string::npos) << err.str();
  EXPECT_EQ(bytesOf("game/Sashcaster.ini"), section);
  fs::permissions("game", fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(std::distance(fs::directory_iterator("game"), fs::directory_iterator()), 1);
}

#ifdef _WIN32
// Held as an editor may hold it: open, without letting others delete or replace it.
HANDLE holdOpen(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(GameFolder, FileHeldOpenIsReplacedOnceLetGoWithinASecond) {
  testing::TempFolder::write("Sashcaster.ini", section);
  const HANDLE held = holdOpen(L"Sashcaster.ini");
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread letGo([held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CloseHandle(held);
  });
  EXPECT_EQ(run({"trigger=Z"}), exitWritten) << err.str();
  letGo.join();
  EXPECT_EQ(bytesOf("Sashcaster.ini"), "[Sashcaster]\r\niXKey=90\r\n");
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), section);
}

TEST_F(GameFolder, FileHeldOpenLongerIsLeftAsItWasWithItsBackup) {
  testing::TempFolder::write("Sashcaster.ini", section);
  testing::TempFolder::write("Sashcaster.ini.bak", "older");
  const std::vector<std::string> names = namesHere();
  const HANDLE held = holdOpen(L"Sashcaster.ini");
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(run({"trigger=Z"}), exitFileProblem);
  CloseHandle(held);
  EXPECT_NE(err.str().find("Cannot replace Sashcaster.ini"), std::string::npos) << err.str();
  EXPECT_EQ(bytesOf("Sashcaster.ini"), section);
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), "older");
  EXPECT_EQ(namesHere(), names);
}
#endif

struct ShortAnswerCase {
  const char* argument;
  const char* words;  // found in the answer
};

TEST_F(GameFolder, RefusedKeyGetsAShortAnswerWithTheNearestNamesAndTheList) {
  const ShortAnswerCase cases[] = {
      {"left=Left", "Nearest names: \"Left arrow\", \"Left Windows\"."},
      {"left=Escpe",
       "\"Escpe\" is no key name and no code from 1 to 2147483647.\nNearest names: Esc."},
      {"front=numpd 2", "Nearest names: \"Numpad 2\"."},
      {"back=Left Shift", "Left Shift (160) never reaches the plug-in"},
      {"back=-2", "\"-2\" is no key name"},
      {"trigger=4294967295", "no code from 1 to 2147483647"},
      {"right=232", "no key sends the code 232"},
  };
  for (const ShortAnswerCase& answer : cases) {
    SCOPED_TRACE(answer.argument);
    EXPECT_EQ(run({answer.argument}), exitBadCommandLine);
    const std::string said = err.str();
    EXPECT_NE(said.find(answer.words), std::string::npos) << said;
    EXPECT_LE(lineCount(said), 3U) << said;
    EXPECT_EQ(said.find("usage"), std::string::npos) << said;
    EXPECT_NE(said.find(std::string("Every key name: ") + programName + " --list"),
              std::string::npos)
        << said;
  }
}

// "Enter (13), also Return" gives Enter and its code; names may hold
// parentheses of their own ("; (US layout) (186)").
std::pair<std::string, std::uint32_t> listedKey(const std::string& line) {
  std::smatch parts;
  if (!std::regex_match(line, parts, std::regex(R"((.+) \((\d+)\)(, also .+)?)"))) {
    return {line, 0};
  }
  return {parts[1], static_cast<std::uint32_t>(std::stoul(parts[2]))};
}

TEST_F(GameFolder, ListGivesEveryUsableKeyWithItsCodeAndSpellings) {
  EXPECT_EQ(run({"--list"}), exitWritten);
  const std::string list = out.str();
  for (const char* words : {"Esc (27), also Escape\n", "Numpad 2 (98), also Num 2\n",
                            "Page Up (33), also PgUp\n", "off, or -1"}) {
    EXPECT_NE(list.find(words), std::string::npos) << words << "\n" << list;
  }
  std::istringstream lines(list);
  std::string line;
  std::getline(lines, line);  // the heading
  std::getline(lines, line);  // the letters and digits
  std::size_t keys = 0;
  while (std::getline(lines, line) && !line.starts_with("off")) {
    const auto [name, code] = listedKey(line);
    EXPECT_EQ(chooseKey(name).code, code) << line;
    ++keys;
  }
  EXPECT_GT(keys, 100U);
  EXPECT_EQ(list.find("Left Shift"), std::string::npos);
  EXPECT_EQ(list.find("Mouse"), std::string::npos);
}

// The check's fixes name keys as this tool takes them.
TEST(KeysCommandLine, EveryFixCommandOfTheCheckIsTaken) {
  const std::string program = std::string(check::keysProgram) + " ";
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    for (std::uint32_t code = 1; code < 255; ++code) {
      if (unusableKey(code)) {
        continue;
      }
      const std::string command = check::setKeyCommand(index, code);
      SCOPED_TRACE(command);
      ASSERT_TRUE(command.starts_with(program));
      const std::string argument = command.substr(program.size());
      const std::size_t equals = argument.find('=');
      std::string key = argument.substr(equals + 1);
      if (key.starts_with('"')) {
        key = key.substr(1, key.size() - 2);
      }
      EXPECT_EQ(settingIndex(argument.substr(0, equals)), index);
      EXPECT_EQ(chooseKey(key).code, code);
    }
  }
}

struct JustSetCase {
  const char* name;
  std::string before;
  std::string argument;
  const char* finding;  // the line of the report that names the clash
};

void PrintTo(const JustSetCase& param, std::ostream* out) {
  *out << param.name;
}

class ClashAfterAnEdit : public GameFolder, public ::testing::WithParamInterface<JustSetCase> {};

TEST_P(ClashAfterAnEdit, NamesTheKeyJustSetAtItsLine) {
  testing::TempFolder::write("Sashcaster.ini", GetParam().before);
  EXPECT_EQ(run({GetParam().argument}), exitWrittenWithFindings) << err.str();
  EXPECT_NE(out.str().find(GetParam().finding), std::string::npos) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ClashAfterAnEdit,
    ::testing::Values(
        JustSetCase{
            "DirectionOnTheKeyOfALaterOne", "[Sashcaster]\niXKey=88\niWindowThrowRight=68\n",
            "left=D",
            "line 4: iWindowThrowLeft is now 68 (D), which is already the right throw's key "
            "(iWindowThrowRight): that key throws to the left only, so the right throw can "
            "never happen. Give the left throw another key, such as with "
            "Sashcaster-keys.exe left=KEY"},
        JustSetCase{
            "DirectionOnTheKeyOfAnEarlierOne", "[Sashcaster]\niWindowThrowFront=87\n", "back=W",
            "line 3: iWindowThrowBack is now 87 (W), which is already the front throw's key "
            "(iWindowThrowFront)"},
        JustSetCase{"TriggerOnADirectionsKey", "[Sashcaster]\niXKey=88\n", "trigger=A",
                    "line 2: iXKey is now 65 (A), which is already the left throw's key "
                    "(iWindowThrowLeft): the left throw can never happen, as one key cannot be "
                    "held down while it is released as the trigger. Give the trigger another key, "
                    "such as with Sashcaster-keys.exe trigger=KEY"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(KeysCommandLine, DialogueOnlyWithoutSettingsOrWithALoneFile) {
  EXPECT_TRUE(startsDialogue({}));
  EXPECT_TRUE(startsDialogue({"C:\\Games\\a=b\\Sashcaster.ini"}));
  EXPECT_FALSE(startsDialogue({"left=Z"}));
  EXPECT_FALSE(startsDialogue({"--help"}));
  EXPECT_FALSE(startsDialogue({"Sashcaster.ini", "left=Z"}));
}

}  // namespace
}  // namespace sashcaster::keys_tool
