// The names that the tools show players for keys and controls.
#include "keys/key_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "fake_host/game_model.h"
#include "keys/control_names.h"

namespace sashcaster::keys {
namespace {

TEST(ControlNames, EachHashIsTheGamesNameHashOfItsName) {
  for (const ControlName& control : controlNames) {
    SCOPED_TRACE(control.gameName);
    EXPECT_EQ(model::nameHash(control.gameName), control.hash);
    EXPECT_EQ(controlHash(control.gameName), control.hash);
  }
}

TEST(ControlNames, GameNamesMatchInEitherCaseAndOnlyWhole) {
  EXPECT_EQ(controlHash("input_frontend_nav_left"), 0x877F1027U);
  EXPECT_EQ(controlHash("INPUT_FRONTEND_NAV"), std::nullopt);
  EXPECT_EQ(describeControl(0x1ECA87D4), "INPUT_SPECIAL_ABILITY_ACTION (RB)");
  EXPECT_EQ(describeControl(0x0000ABCD), "0x0000ABCD");
}

struct Spelling {
  const char* typed;
  std::optional<std::uint32_t> code;
};

TEST(KeyNames, CommonSpellingsNameTheirKeyWhateverTheCaseAndSpaces) {
  const Spelling cases[] = {
      {"Esc", 27},
      {"escape", 27},
      {"Enter", 13},
      {"RETURN", 13},
      {"Ctrl", 17},
      {"control", 17},
      {"Space", 32},
      {"Spacebar", 32},
      {"Del", 46},
      {"delete", 46},
      {"Ins", 45},
      {"Insert", 45},
      {"PgUp", 33},
      {"pgdn", 34},
      {"Page Up", 33},
      {"pagedown", 34},
      {"Backspace", 8},
      {"back space", 8},
      {"Numpad2", 98},
      {"Num 2", 98},
      {"num0", 96},
      {"Numpad 9", 105},
      {"Num *", 106},
      {"numpad plus", 107},
      {"Num -", 109},
      {"Num Lock", 144},
      {"numlock", 144},
      {"Left Shift", 160},
      {"left control", 162},
      {"f 5", 116},
      {"5", 53},
      {"z", 90},
      {"Numb 2", std::nullopt},
      {"Num", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
  };
  for (const Spelling& spelling : cases) {
    SCOPED_TRACE(spelling.typed);
    EXPECT_EQ(keyCode(spelling.typed), spelling.code);
  }
}

TEST(KeyNames, EveryNameAndOtherSpellingGivesItsOwnCodeBack) {
  for (std::uint32_t code = 1; code < 255; ++code) {
    const std::optional<std::string> name = keyName(code);
    if (!name) {
      continue;
    }
    SCOPED_TRACE(*name);
    EXPECT_EQ(keyCode(*name), code);
    for (const std::string& other : otherNamesOf(code)) {
      EXPECT_EQ(keyCode(other), code) << other;
    }
  }
}

TEST(KeyNames, CodesAreShownAsTheFileHoldsThem) {
  const std::pair<std::uint32_t, const char*> cases[] = {{88, "88"},
                                                         {255, "255"},
                                                         {2147483647, "2147483647"},
                                                         {4294967295U, "-1"},
                                                         {2147483648U, "-2147483648"}};
  for (const auto& [code, written] : cases) {
    EXPECT_EQ(writtenCode(code), written);
  }
}

struct Delivery {
  std::uint32_t code;
  std::optional<std::uint32_t> receivedAs;
  bool mouse;
  const char* why;  // found in whyNeverReceived; empty: the code arrives
};

TEST(KeyDelivery, SidedModifiersArriveGenericAndMouseButtonsNever) {
  const Delivery cases[] = {
      {160, 16, false, "Left Shift (160) never reaches the plug-in"},
      {161, 16, false, "use 16 (Shift)"},
      {162, 17, false, "use 17 (Ctrl)"},
      {165, 18, false, "Right Alt (165)"},
      {1, std::nullopt, true, "a mouse button cannot be used"},
      {5, std::nullopt, true, "Mouse 4 (5)"},
      {6, std::nullopt, true, "Mouse 5 (6)"},
      {3, std::nullopt, false, ""},
      {16, std::nullopt, false, ""},
      {166, std::nullopt, false, ""},
      {90, std::nullopt, false, ""},
      {255, std::nullopt, false, ""},
  };
  for (const Delivery& expected : cases) {
    SCOPED_TRACE(expected.code);
    EXPECT_EQ(codeReceivedFor(expected.code), expected.receivedAs);
    EXPECT_EQ(isMouseButton(expected.code), expected.mouse);
    const std::optional<std::string> why = whyNeverReceived(expected.code);
    if (*expected.why == '\0') {
      EXPECT_EQ(why, std::nullopt);
    } else {
      ASSERT_TRUE(why);
      EXPECT_NE(why->find(expected.why), std::string::npos) << *why;
    }
  }
}

}  // namespace
}  // namespace sashcaster::keys
