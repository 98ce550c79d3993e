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

#include "config/settings.h"
#include "config/temp_folder.h"
#include "keys/key_names.h"
#include "keys_tool/keys_command.h"

namespace sashcaster::keys_tool {
namespace {

constexpr std::uint32_t enter = 0x0D;
constexpr std::uint32_t esc = 0x1B;
constexpr std::uint32_t del = 0x2E;

struct DialogueCase {
  const char* name;
  std::vector<std::uint32_t> presses;  // input ends after them
  std::string after;                   // the settings file afterwards
  int status;
  std::vector<const char*> said;  // found in the dialogue, in this order
};

void PrintTo(const DialogueCase& param, std::ostream* out) {
  *out << param.name;
}

const std::string before = "[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=87\r\n";

// The trigger pressed on the left throw's built-in key, which the file leaves.
constexpr std::uint32_t leftKey = Settings{}.iWindowThrowLeft;
const std::string leftClash = "Clash: iXKey and iWindowThrowLeft are both " +
                              std::to_string(leftKey) + " (" + *keys::keyName(leftKey) + ")";

class Dialogue : public ::testing::TestWithParam<DialogueCase> {
 protected:
  void SetUp() override {
    testing::TempFolder::write("Sashcaster.asi", "");
    testing::TempFolder::write("ScriptHookRDR2.dll", "");
    testing::TempFolder::write("Sashcaster.ini", before);
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
  EXPECT_EQ(next, presses.size()) << "the dialogue ended before every press was read";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Dialogue,
    ::testing::Values(
        DialogueCase{"PressedKeysAreSaved",
                     {enter, 'Z', 'Q', enter, del, enter, enter},
                     "[Sashcaster]\r\niXKey=88\r\niWindowThrowFront=90\r\niWindowThrowLeft=81\r\n"
                     "iWindowThrowBack=255\r\n",
                     exitWritten,
                     {"the trigger key:        X (88)", "Delete switches that throw off",
                      "Press the trigger key (now X (88)): kept", "the front throw's key:  Z (90)",
                      "the back throw's key:   off", "Checking Sashcaster.ini", "No findings",
                      "Press Enter to close"}},
        DialogueCase{"UnusableKeysAreAskedAgain",
                     {0xA0, 0xE8, 0x10, esc, enter},
                     before,
                     exitWritten,
                     {"use 16 (Shift)", "That key sends the code 232, which is not in the table",
                      "Shift (16)", "Nothing was saved.", "Press Enter to close"}},
        DialogueCase{"ClashIsShownBeforeSaving",
                     {leftKey, enter, enter, enter, enter, esc, enter},
                     before,
                     exitWritten,
                     {leftClash.c_str(), "Save them?", "Nothing was saved."}},
        DialogueCase{"NoChangeSavesNothing",
                     {enter, enter, enter, enter, enter, enter, enter},
                     before,
                     exitWritten,
                     {"No key changed, so nothing was saved."}},
        DialogueCase{"EndOfInputLeaves", {'Z'}, before, exitWritten, {"Nothing was saved."}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(DialogueOnAFolder, SaysWhyAndWaitsForEnter) {
  const testing::TempFolder folder;
  std::filesystem::create_directory("Sashcaster.ini");
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
  EXPECT_NE(out.str().find("is a folder"), std::string::npos) << out.str();
  EXPECT_EQ(next, 2U);
  EXPECT_TRUE(std::filesystem::is_directory("Sashcaster.ini"));
}

}  // namespace
}  // namespace sashcaster::keys_tool
