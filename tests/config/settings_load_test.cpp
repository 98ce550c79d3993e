// The per-turn load of the five keys from "Sashcaster.ini" in the current
// directory, alone and through the throw loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "config/settings_keys.h"
#include "config/temp_folder.h"
#include "support/built_in_keys.h"
#include "support/case_name.h"
#include "throw/throw_test_scene.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Fields = std::array<std::uint32_t, 5>;

constexpr Fields defaults = builtInCodes;
constexpr std::array<const char*, 5> keyNames = {settingsKeys[0].name, settingsKeys[1].name,
                                                 settingsKeys[2].name, settingsKeys[3].name,
                                                 settingsKeys[4].name};

Fields fields() {
  return {settings.iXKey, settings.iWindowThrowFront, settings.iWindowThrowLeft,
          settings.iWindowThrowRight, settings.iWindowThrowBack};
}

// A settings file with the five keys set to the given value texts.
std::string settingsText(const std::array<std::string, 5>& values) {
  std::string text = "[Sashcaster]\n";
  for (std::size_t key = 0; key < keyNames.size(); ++key) {
    text += std::string(keyNames[key]) + " = " + values[key] + "\n";
  }
  return text;
}

void writeSettings(std::string_view bytes) {
  TempFolder::write("Sashcaster.ini", bytes);
}

class SettingsLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    settingsDocument.clear();
  }

  TempFolder folder;
};

TEST_F(SettingsLoadTest, NoFileKeepsTheDefaultsTurnAfterTurn) {
  for (int turn = 0; turn < 3; ++turn) {
    EXPECT_NO_THROW(loadSettings());
    EXPECT_EQ(fields(), defaults);
  }
}

TEST_F(SettingsLoadTest, FiveValidValuesAllLoadInOneCall) {
  writeSettings(settingsText({"90", "73", "74", "76", "75"}));
  loadSettings();
  EXPECT_EQ(fields(), (Fields{90, 73, 74, 76, 75}));
}

TEST_F(SettingsLoadTest, FileEditedBetweenLoadsGivesTheNewValues) {
  writeSettings(settingsText({"90", "73", "74", "76", "75"}));
  loadSettings();
  writeSettings(settingsText({"1", "2", "3", "4", "5"}));
  loadSettings();
  EXPECT_EQ(fields(), (Fields{1, 2, 3, 4, 5}));
}

TEST_F(SettingsLoadTest, FileRemovedAfterALoadKeepsTheLoadedValuesAndDocument) {
  writeSettings(settingsText({"90", "73", "74", "76", "75"}));
  loadSettings();
  std::filesystem::remove("Sashcaster.ini");
  loadSettings();
  EXPECT_EQ(fields(), (Fields{90, 73, 74, 76, 75}));
  EXPECT_EQ(settingsDocument.getCopy("Sashcaster").getCopy("iXKey"), "90");
}

TEST_F(SettingsLoadTest, KeyRemovedFromTheFileKeepsItsLastValue) {
  writeSettings(settingsText({"90", "73", "74", "76", "75"}));
  loadSettings();
  writeSettings("[Sashcaster]\niXKey=1\n");
  loadSettings();
  EXPECT_EQ(fields(), (Fields{1, 73, 74, 76, 75}));
  EXPECT_EQ(settingsDocument.getCopy("Sashcaster").size(), 1u);
}

TEST_F(SettingsLoadTest, DocumentHoldsExactlyWhatTheFileGave) {
  writeSettings("[Other]\nk=v\n");
  loadSettings();
  EXPECT_EQ(fields(), defaults);
  ASSERT_EQ(settingsDocument.size(), 1u);
  EXPECT_EQ(settingsDocument.entries[0].first, "Other");
}

TEST_F(SettingsLoadTest, ValuesAreReadAsTheConversionReadsThem) {
  writeSettings(settingsText({"88 ; note", "+80", "065", "0x41", "\"66\""}));
  loadSettings();
  // The quoted value is no number and keeps its default.
  EXPECT_EQ(fields(), (Fields{88, 80, 65, 0, defaults[4]}));
}

TEST_F(SettingsLoadTest, LowerCaseKeyIsNotFound) {
  writeSettings("[Sashcaster]\nixkey=90\niWindowThrowFront=73\n");
  loadSettings();
  EXPECT_EQ(fields(), builtInWith({{setting::front, 73}}));
}

TEST_F(SettingsLoadTest, SectionNameMustMatchExactly) {
  writeSettings("[sashcaster]\niXKey=90\n[Sashcaster ]\niWindowThrowFront=73\n");
  loadSettings();
  EXPECT_EQ(fields(), builtInWith({{setting::front, 73}}));
}

// --- Values at and past the 32-bit limits -------------------------------------

struct LimitCase {
  std::string name;
  std::string text;
  std::uint32_t stored;  // the default, when the value is refused

  // Shown by the test runner in place of the bytes of the case.
  friend std::ostream& operator<<(std::ostream& out, const LimitCase& c) { return out << c.name; }
};

class SettingsLimitTest : public SettingsLoadTest,
                          public ::testing::WithParamInterface<LimitCase> {};

TEST_P(SettingsLimitTest, StoresTheSignedNumberBitForBit) {
  writeSettings("[Sashcaster]\niXKey=" + GetParam().text + "\niWindowThrowBack=1\n");
  loadSettings();
  EXPECT_EQ(settings.iXKey, GetParam().stored);
  EXPECT_EQ(settings.iWindowThrowBack, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SettingsLimitTest,
    ::testing::Values(LimitCase{"MinusOne", "-1", 0xFFFFFFFFu},
                      LimitCase{"Largest", "2147483647", 2147483647u},
                      LimitCase{"OverLargestIsRefused", "2147483648", defaults[0]},
                      LimitCase{"Smallest", "-2147483648", 0x80000000u},
                      LimitCase{"UnderSmallestIsRefused", "-2147483649", defaults[0]},
                      LimitCase{"UnsignedMaxIsRefused", "4294967295", defaults[0]},
                      LimitCase{"KeyCodeLimit", "255", 255u}),
    CaseName());

// --- One bad key hides none of the others -------------------------------------

struct BadValueCase {
  std::string name;
  std::string line;  // the key's whole line; "" leaves the key out

  // Shown by the test runner in place of the bytes of the case.
  friend std::ostream& operator<<(std::ostream& out, const BadValueCase& c) {
    return out << c.name;
  }
};

class BadKeyTest : public SettingsLoadTest, public ::testing::WithParamInterface<BadValueCase> {};

TEST_P(BadKeyTest, OnlyTheBadKeyKeepsItsValue) {
  const Fields wanted = {90, 73, 74, 76, 75};
  for (std::size_t bad = 0; bad < keyNames.size(); ++bad) {
    SCOPED_TRACE(keyNames[bad]);
    settings = Settings{};
    std::string text = "[Sashcaster]\n";
    for (std::size_t key = 0; key < keyNames.size(); ++key) {
      if (key != bad) {
        text += std::string(keyNames[key]) + "=" + std::to_string(wanted[key]) + "\n";
      } else if (!GetParam().line.empty()) {
        text += std::string(keyNames[key]) + GetParam().line + "\n";
      }
    }
    writeSettings(text);
    EXPECT_NO_THROW(loadSettings());
    Fields expected = wanted;
    expected[bad] = defaults[bad];
    EXPECT_EQ(fields(), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(BadValues, BadKeyTest,
                         ::testing::Values(BadValueCase{"Missing", ""}, BadValueCase{"Empty", "="},
                                           BadValueCase{"NotANumber", "=X"},
                                           BadValueCase{"SignAlone", "=-"},
                                           BadValueCase{"OutOfRange", "=99999999999"},
                                           BadValueCase{"NoEqualsSign", " 90"}),
                         CaseName());

TEST_F(SettingsLoadTest, EmptyFileOrMissingSectionChangesNoKey) {
  writeSettings("");
  EXPECT_NO_THROW(loadSettings());
  EXPECT_EQ(fields(), defaults);
  writeSettings("iXKey=90\n[Other]\niWindowThrowFront=73\n");
  EXPECT_NO_THROW(loadSettings());
  EXPECT_EQ(fields(), defaults);
}

// --- Byte-order mark and size limit --------------------------------------------

TEST_F(SettingsLoadTest, ByteOrderMarkBeforeTheHeaderIsIgnored) {
  writeSettings("\xEF\xBB\xBF[Sashcaster]\r\niXKey=90\r\n");
  loadSettings();
  EXPECT_EQ(settings.iXKey, 90u);
}

TEST_F(SettingsLoadTest, FileOverOneMebibyteIsNotReadAndChangesNoKey) {
  writeSettings(settingsText({"1", "2", "3", "4", "5"}));
  loadSettings();
  std::string text = settingsText({"90", "73", "74", "76", "75"});
  text.resize(static_cast<std::size_t>(maxIniFileBytes) + 1, '\n');
  writeSettings(text);
  EXPECT_NO_THROW(loadSettings());
  EXPECT_EQ(fields(), (Fields{1, 2, 3, 4, 5}));
  EXPECT_EQ(settingsDocument.size(), 0u);

  text.pop_back();
  writeSettings(text);
  loadSettings();
  EXPECT_EQ(fields(), (Fields{90, 73, 74, 76, 75}));
}

TEST_F(SettingsLoadTest, FolderNamedLikeTheFileChangesNoKey) {
  std::filesystem::create_directory("Sashcaster.ini");
  EXPECT_NO_THROW(loadSettings());
  EXPECT_EQ(fields(), defaults);
}

// --- The file shipped with the plug-in ------------------------------------------

TEST_F(SettingsLoadTest, ShippedFileGivesTheDefaultsAndNothingElse) {
  std::filesystem::copy_file(SASHCASTER_SHIPPED_SETTINGS, "Sashcaster.ini");
  settings = Settings{1, 2, 3, 4, 5};
  loadSettings();
  EXPECT_EQ(fields(), defaults);
  // Every line of explanation must read as a comment, not as a key.
  ASSERT_EQ(settingsDocument.size(), 1u);
  EXPECT_EQ(settingsDocument.entries[0].first, "Sashcaster");
  std::vector<std::string> keys;
  for (const auto& entry : settingsDocument.entries[0].second.entries) {
    keys.push_back(entry.first);
  }
  EXPECT_THAT(keys, ElementsAreArray(keyNames));
}

// --- Through the throw loop ------------------------------------------------------

constexpr std::uint32_t W = defaults[1], X = defaults[0], Z = 90;

class SettingsFileLoopTest : public ThrowScene {
 protected:
  void SetUp() override {
    ThrowScene::SetUp();
    settingsDocument.clear();
  }

  TempFolder folder;
};

TEST_F(SettingsFileLoopTest, NewTriggerKeyTakesEffectOnTheVeryNextTurn) {
  turn();
  holdAndTap(W, Z);
  turn();
  EXPECT_THAT(actionsSet(), IsEmpty());

  writeSettings("[Sashcaster]\niXKey=90\n");
  holdAndTap(W, Z);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
}

TEST_F(SettingsFileLoopTest, SwitchedOffTriggerStopsKeyboardThrowsNextTurn) {
  writeSettings("[Sashcaster]\niXKey=-1\n");
  holdAndTap(W, X);
  turn();
  EXPECT_THAT(actionsSet(), IsEmpty());
  EXPECT_EQ(settings.iXKey, 0xFFFFFFFFu);
}

TEST_F(SettingsFileLoopTest, BadFileNeverStopsTheNextTurn) {
  writeSettings("[Sashcaster]\niXKey=Z\niWindowThrowFront=99999999999\n");
  fake::stopAfterWaits(2);
  EXPECT_THROW(throwLoop(), fake::LoopStopped);
  EXPECT_EQ(fake::callsOf(fake::CallKind::ScriptWait).size(), 3u);
  EXPECT_EQ(fields(), defaults);

  fake::stopAfterWaits(-1);
  writeSettings("[Sashcaster]\niXKey=90\niWindowThrowFront=99999999999\n");
  holdAndTap(W, Z);
  turn();
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
}

TEST_F(SettingsFileLoopTest, FileThatCannotBeReadKeepsTheTurnGoing) {
  writeSettings("[Sashcaster]\niXKey=90\n");
  turn();
  std::filesystem::remove("Sashcaster.ini");
  std::filesystem::create_directory("Sashcaster.ini");
  holdAndTap(W, Z);
  EXPECT_EQ(turn().front(), "localPlayerPed()");
  EXPECT_THAT(actionsSet(), ElementsAre(fake::nameHash(throwFrontAction)));
}

}  // namespace
}  // namespace sashcaster::testing
