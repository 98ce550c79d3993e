// Settings files a careless editor, a broken disk or a hostile user could
// leave in the game's folder. For each: the read and the turn return, no
// exception escapes, and the keys are exactly what the file's convertible
// values make of the built-in ones. Large files are made here, not shipped.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "config/temp_folder.h"
#include "fake_host/fake_host.h"
#include "support/built_in_keys.h"
#include "support/case_name.h"
#include "throw/throw_loop.h"

namespace sashcaster::testing {
namespace {

constexpr std::size_t MiB = 1048576;

using Keys = KeyCodes;  // in the order the load reads them
constexpr Keys builtIn = builtInCodes;

Keys keysOf(const Settings& s) {
  return {s.iXKey, s.iWindowThrowFront, s.iWindowThrowLeft, s.iWindowThrowRight,
          s.iWindowThrowBack};
}

// A deterministic byte soup: every byte value, line feeds included.
std::string garbage(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 0x9E3779B9;
  for (char& byte : bytes) {
    state = state * 1664525 + 1013904223;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

// The five keys set to 70..74 at the top, then comment lines up to `size`.
std::string paddedTo(std::size_t size) {
  std::string text =
      "[Sashcaster]\n"
      "iXKey=70\niWindowThrowFront=71\niWindowThrowLeft=72\niWindowThrowRight=73\n"
      "iWindowThrowBack=74\n";
  const std::string comment = "; " + std::string(61, '-') + "\n";
  while (text.size() + comment.size() <= size) {
    text += comment;
  }
  text += std::string(size - text.size(), ';');
  return text;
}

// Every byte of the literal, its zero bytes included.
template <std::size_t Size>
std::string withZeros(const char (&literal)[Size]) {
  return std::string(literal, Size - 1);
}

std::string repeated(std::size_t count, const std::function<std::string(std::size_t)>& line) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += line(i);
  }
  return text;
}

struct HostileCase {
  const char* name;
  std::function<std::string()> bytes;
  bool readable;                    // IniFile::read's answer
  Keys expected;                    // the keys after one load from the built-in ones
  std::size_t sections = SIZE_MAX;  // sections in the document, when checked
  friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

const HostileCase hostileCases[] = {
    {"BinaryGarbage", [] { return garbage(65536); }, true, builtIn},
    {"GarbageThenASection", [] { return garbage(65536) + "\n[Sashcaster]\niXKey=70\n"; }, true,
     builtInWith({{setting::trigger, 70}})},
    {"OnlyZeroBytes", [] { return std::string(4096, '\0'); }, true, builtIn, 0},
    {"ZeroBytesThroughout",
     [] {
       return withZeros(
           "\0[Sash\0caster]\0\n\0iXKey\0=\0 7\0"
           "1\0\n\0");
     },
     true, builtInWith({{setting::trigger, 71}}), 1},
    {"LineOf100000Bytes",
     [] {
       return "[Sashcaster]\n" + std::string(100000, 'x') + "\niXKey = 66" +
              std::string(100000, ' ') + "; the rest of a long line\n";
     },
     true, builtInWith({{setting::trigger, 66}}), 1},
    {"Exactly1MiB", [] { return paddedTo(MiB); }, true, {70, 71, 72, 73, 74}, 1},
    {"OneByteOver1MiB", [] { return paddedTo(MiB + 1); }, false, builtIn, 0},
    {"Of64MiB", [] { return paddedTo(64 * MiB); }, false, builtIn, 0},
    {"OnlyCarriageReturns", [] { return std::string(100000, '\r'); }, true, builtIn, 0},
    {"CarriageReturnsEndNoLine", [] { return std::string("[Sashcaster]\riXKey=70\r"); }, true,
     builtIn, 1},
    {"TenThousandRepeatedSections",
     [] {
       return repeated(10000, [](std::size_t i) {
         return "[Sashcaster]\niXKey=" + std::to_string(60 + i % 20) + "\n[Profile " +
                std::to_string(i) + "]\nk=v\n";
       });
     },
     true, builtInWith({{setting::trigger, 79}}), 10001},
    {"TenThousandDuplicatesOfOneKey",
     [] {
       return "[Sashcaster]\n" + repeated(10000, [](std::size_t i) {
                return "iWindowThrowLeft=" + std::to_string(i) + "\n";
              });
     },
     true, builtInWith({{setting::left, 9999}}), 1},
    {"KeysPaddedWithEveryWhitespaceByte",
     [] {
       const std::string pad = " \t\f\v\r";
       return "[" + pad + "Sashcaster" + pad + "]" + pad + "\n" + pad + "iXKey" + pad + "=" + pad +
              "70" + pad + "\n" + pad + "iWindowThrowBack" + pad + "=" + pad + "74" + pad + "\r\n";
     },
     true, builtInWith({{setting::trigger, 70}, {setting::back, 74}}), 1},
    {"NonBreakingSpaceIsNoPadding",
     [] { return std::string("[Sashcaster]\n\xA0iXKey=70\niWindowThrowBack\xA0=74\n"); }, true,
     builtIn, 1},
    {"NumbersAtAndPastThe32BitLimits",
     [] {
       return std::string(
           "[Sashcaster]\niXKey=2147483647\niWindowThrowFront=2147483648\n"
           "iWindowThrowLeft=-2147483648\niWindowThrowRight=-2147483649\n"
           "iWindowThrowBack=4294967295\n");
     },
     true, builtInWith({{setting::trigger, 0x7FFFFFFF}, {setting::left, 0x80000000}}), 1},
    {"ByteOrderMarkFollowedByNothing", [] { return std::string("\xEF\xBB\xBF"); }, true, builtIn,
     0},
};

class HostileSettingsTest : public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override {
    fake::resetHost();
    settings = Settings{};
    settingsDocument.clear();
  }

  const TempFolder folder;
};

TEST_P(HostileSettingsTest, ReadAndTurnReturnWithTheKeysTheFileCanGive) {
  const HostileCase& hostile = GetParam();
  TempFolder::write("Sashcaster.ini", hostile.bytes());

  IniStructure document;
  EXPECT_EQ(IniFile("Sashcaster.ini").read(document), hostile.readable);
  if (hostile.sections != SIZE_MAX) {
    EXPECT_EQ(document.size(), hostile.sections);
  }

  ASSERT_NO_THROW(throwTurn());
  EXPECT_EQ(keysOf(settings), hostile.expected);
  EXPECT_EQ(fake::callsOf(fake::CallKind::ScriptWait).size(), 1u);
  EXPECT_TRUE(fake::host().protocolErrors.empty());

  // A second turn on the same file changes nothing more.
  ASSERT_NO_THROW(throwTurn());
  EXPECT_EQ(keysOf(settings), hostile.expected);
}

// A folder by the settings file's name: whatever opening it gives, nothing is
// read from it and the keys stay.
TEST(HostileSettingsFolderTest, FolderNamedLikeTheSettingsFileLeavesTheKeys) {
  const TempFolder folder;
  fake::resetHost();
  settings = Settings{};
  std::filesystem::create_directory("Sashcaster.ini");

  IniStructure document;
  IniFile("Sashcaster.ini").read(document);
  EXPECT_EQ(document.size(), 0u);
  ASSERT_NO_THROW(throwTurn());
  EXPECT_EQ(keysOf(settings), builtIn);
  EXPECT_EQ(fake::callsOf(fake::CallKind::ScriptWait).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSettingsTest, ::testing::ValuesIn(hostileCases), CaseName{});

}  // namespace
}  // namespace sashcaster::testing
