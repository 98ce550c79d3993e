// Settings files saved as UTF-16, in either byte order, read like their UTF-8 text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "config/temp_folder.h"
#include "config/utf16_text.h"
#include "support/case_name.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

enum class Order : std::uint8_t { Little, Big };

// The code units behind the mark of the given byte order, as a file holds them.
std::string utf16File(Order order, std::u16string_view text) {
  std::string bytes = order == Order::Little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    bytes += order == Order::Little ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

struct DecodeCase {
  const char* name;
  std::u16string_view text;
  std::string utf8;
  friend void PrintTo(const DecodeCase& c, std::ostream* out) { *out << c.name; }
};

class Utf16Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf16Decoding, GivesTheSameUtf8InBothByteOrders) {
  for (const Order order : {Order::Little, Order::Big}) {
    EXPECT_EQ(utf16ToUtf8(utf16File(order, GetParam().text)), GetParam().utf8);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16Decoding,
    ::testing::Values(DecodeCase{"Ascii", u"[Sashcaster]\r\n", "[Sashcaster]\r\n"},
                      DecodeCase{"TwoAndThreeBytes", u"\u00E9\u090A", "\xC3\xA9\xE0\xA4\x8A"},
                      DecodeCase{"SurrogatePair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
                      DecodeCase{"LoneHighSurrogate", u"\xD83Dk", "\xEF\xBF\xBDk"},
                      DecodeCase{"LoneLowSurrogate", u"k\xDE00", "k\xEF\xBF\xBD"},
                      DecodeCase{"MarkAlone", u"", ""}),
    CaseName());

TEST(Utf16Decoding, LastOddByteBecomesReplacementCharacter) {
  EXPECT_EQ(utf16ToUtf8("\xFF\xFEk\0x"s), "k\xEF\xBF\xBD");
}

TEST(Utf16Decoding, OnlyAMarkAtTheStartCounts) {
  EXPECT_TRUE(startsWithUtf16Mark("\xFF\xFE"));
  EXPECT_TRUE(startsWithUtf16Mark("\xFE\xFF"));
  EXPECT_FALSE(startsWithUtf16Mark("\xEF\xBB\xBF"));
  EXPECT_FALSE(startsWithUtf16Mark("k\xFF\xFE"));
}

TEST(Utf16Lines, CodeUnitWithLineFeedOrSemicolonByteStaysInItsLine) {
  // U+090A and U+013B carry 0x0A and 0x3B as a byte: neither splits a line
  // nor starts a comment.
  for (const Order order : {Order::Little, Order::Big}) {
    EXPECT_THAT(splitIniLines(utf16File(order, u"; \u090AiXKey=1\r\n\u013Bk=2")),
                ElementsAre("; \xE0\xA4\x8AiXKey=1", "\xC4\xBBk=2"));
  }
}

TEST(Utf16Lines, MarkAloneGivesNoLines) {
  EXPECT_THAT(splitIniLines("\xFF\xFE"), IsEmpty());
}

class Utf16SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { settings = Settings{}; }
  void TearDown() override { settings = Settings{}; }

  TempFolder folder;
};

TEST_F(Utf16SettingsFile, NotepadUnicodeFileLoadsEveryKey) {
  constexpr std::u16string_view text =
      u"[Sashcaster]\r\n; caf\u00E9 \U0001F600\r\niXKey=90\r\niWindowThrowFront=38\r\n"
      u"iWindowThrowLeft=37\r\niWindowThrowRight=39\r\niWindowThrowBack=40\r\n";
  for (const Order order : {Order::Little, Order::Big}) {
    settings = Settings{};
    TempFolder::write("Sashcaster.ini", utf16File(order, text));
    loadSettings();
    EXPECT_EQ(settings.iXKey, 90u);
    EXPECT_EQ(settings.iWindowThrowFront, 38u);
    EXPECT_EQ(settings.iWindowThrowLeft, 37u);
    EXPECT_EQ(settings.iWindowThrowRight, 39u);
    EXPECT_EQ(settings.iWindowThrowBack, 40u);
  }
}

TEST_F(Utf16SettingsFile, LimitAppliesToTheBytesAsStored) {
  // Under 1 MiB once decoded, over it as stored: not read.
  std::u16string text = u"[Sashcaster]\r\niXKey=90\r\n;";
  text.append(static_cast<std::size_t>(maxIniFileBytes) / 2, u'-');
  TempFolder::write("Sashcaster.ini", utf16File(Order::Little, text));
  loadSettings();
  EXPECT_EQ(settings.iXKey, 88u);
}

}  // namespace
}  // namespace sashcaster::testing
