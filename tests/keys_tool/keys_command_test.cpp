// sashcaster-keys run through its command as a player runs it, in a game
// folder: the bytes it writes, what it keeps, and what it refuses.
#include "keys_tool/keys_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "config/temp_folder.h"

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

class GameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TempFolder::write("Sashcaster.asi", "");
    testing::TempFolder::write("ScriptHookRDR2.dll", "");
  }

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
  std::vector<std::string> expected{"Sashcaster.asi", "Sashcaster.ini", "ScriptHookRDR2.dll"};
  if (param.before) {
    expected.insert(expected.begin() + 2, "Sashcaster.ini.bak");
  }
  EXPECT_EQ(namesHere(), expected);
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
  testing::TempFolder::write("Sashcaster.ini.bak", "old");
  const std::vector<std::string> names = namesHere();
  EXPECT_EQ(run(GetParam().arguments), GetParam().status);
  EXPECT_NE(err.str().find(GetParam().words), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(bytesOf("Sashcaster.ini"), bytes);
  EXPECT_EQ(bytesOf("Sashcaster.ini.bak"), "old");
  EXPECT_EQ(bytesOf("Big.ini")->size(), 1048577U);
  EXPECT_EQ(bytesOf("Full.ini")->size(), 1048576U);
  EXPECT_EQ(namesHere(), names);
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

TEST(KeysCommandLine, DialogueOnlyWithoutSettingsOrWithALoneFile) {
  EXPECT_TRUE(startsDialogue({}));
  EXPECT_TRUE(startsDialogue({"C:\\Games\\a=b\\Sashcaster.ini"}));
  EXPECT_FALSE(startsDialogue({"left=Z"}));
  EXPECT_FALSE(startsDialogue({"--help"}));
  EXPECT_FALSE(startsDialogue({"Sashcaster.ini", "left=Z"}));
}

}  // namespace
}  // namespace sashcaster::keys_tool
