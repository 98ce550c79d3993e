// Whole files in memory: how lines are split and how sections and keys are
// ordered and merged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"

namespace sashcaster::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using namespace std::string_literals;

// The document as lines "[section]" and "key=value", in stored order, after
// checking that each index agrees with its entries.
std::vector<std::string> layout(const IniStructure& document) {
  std::vector<std::string> lines;
  EXPECT_EQ(document.index.size(), document.entries.size());
  for (std::size_t s = 0; s < document.entries.size(); ++s) {
    const auto& [name, section] = document.entries[s];
    EXPECT_EQ(document.index.at(name), s) << name;
    EXPECT_EQ(section.index.size(), section.entries.size()) << name;
    lines.push_back("[" + name + "]");
    for (std::size_t k = 0; k < section.entries.size(); ++k) {
      EXPECT_EQ(section.index.at(section.entries[k].first), k) << section.entries[k].first;
      lines.push_back(section.entries[k].first + "=" + section.entries[k].second);
    }
  }
  return lines;
}

std::vector<std::string> parsed(std::string_view bytes) {
  IniStructure document;
  parseIniBytes(bytes, document);
  return layout(document);
}

// --- Splitting lines ----------------------------------------------------------

TEST(SplitIniLines, NoBytesGiveNoLines) {
  EXPECT_THAT(splitIniLines(""), IsEmpty());
}

TEST(SplitIniLines, FinalLineFeedGivesALastEmptyLine) {
  EXPECT_THAT(splitIniLines("a\nb\n"), ElementsAre("a", "b", ""));
  EXPECT_THAT(splitIniLines("\n"), ElementsAre("", ""));
  EXPECT_THAT(splitIniLines("a"), ElementsAre("a"));
}

TEST(SplitIniLines, CarriageReturnsAndZeroBytesVanishWherever) {
  EXPECT_THAT(splitIniLines("a\r\nb\r\n"), ElementsAre("a", "b", ""));
  EXPECT_THAT(splitIniLines("\ra\rb\r\r\n\r"), ElementsAre("ab", ""));
  EXPECT_THAT(splitIniLines("\0a\0\nb\0\0"s), ElementsAre("a", "b"));
  // A file of only carriage returns, or of bytes that never arrived, is one empty line.
  EXPECT_THAT(splitIniLines("\r\r\r"), ElementsAre(""));
  EXPECT_THAT(splitIniLines(std::string(64, '\0')), ElementsAre(""));
}

TEST(SplitIniLines, ByteOrderMarkIsDroppedOnlyAtTheVeryStart) {
  EXPECT_THAT(splitIniLines("\xEF\xBB\xBF[A]\n\xEF\xBB\xBFk"), ElementsAre("[A]", "\xEF\xBB\xBFk"));
  EXPECT_THAT(splitIniLines("\xEF\xBB\xBF\xEF\xBB\xBF"), ElementsAre("\xEF\xBB\xBF"));
  EXPECT_THAT(splitIniLines("\xEF\xBB[A]"), ElementsAre("\xEF\xBB[A]"));
  EXPECT_THAT(splitIniLines("\xEF\xBB\xBF"), IsEmpty());
  EXPECT_THAT(splitIniLines("\r\xEF\xBB\xBF"), ElementsAre("\xEF\xBB\xBF"));
}

// --- Sections and keys --------------------------------------------------------

TEST(ParseIniBytes, EmptyFileGivesNoSections) {
  EXPECT_THAT(parsed(""), IsEmpty());
}

TEST(ParseIniBytes, HeaderWithoutFinalLineFeedGivesSectionWithoutKeys) {
  EXPECT_THAT(parsed("[Sashcaster]"), ElementsAre("[Sashcaster]"));
}

TEST(ParseIniBytes, KeyBeforeFirstHeaderIsIgnored) {
  EXPECT_THAT(parsed("k=1\n[A]\n"), ElementsAre("[A]"));
}

TEST(ParseIniBytes, RepeatedSectionMergesIntoItsFirstPosition) {
  EXPECT_THAT(parsed("[A]\na=1\n[B]\nb=2\n[A]\nc=3\n"),
              ElementsAre("[A]", "a=1", "c=3", "[B]", "b=2"));
}

TEST(ParseIniBytes, RepeatedKeyKeepsFirstPositionAndTakesLastValue) {
  EXPECT_THAT(parsed("[A]\nk=1\nj=2\nk=3\n[B]\n[A]\nk=4\n"),
              ElementsAre("[A]", "k=4", "j=2", "[B]"));
}

TEST(ParseIniBytes, NamesAreTrimmedButCaseIsKept) {
  EXPECT_THAT(parsed("[ A ]\n k = 1 \n[a]\nK=2\n[A]\nk=3\n"),
              ElementsAre("[A]", "k=3", "[a]", "K=2"));
}

TEST(ParseIniBytes, FailedHeaderLeavesKeysInThePreviousSection) {
  EXPECT_THAT(parsed("[A]\n[ab;cd]\nk=1\n"), ElementsAre("[A]", "k=1"));
  EXPECT_THAT(parsed("[ab;cd]\nk=1\n"), IsEmpty());
}

TEST(ParseIniBytes, CommentsBlanksAndUnrecognisedLinesChangeNothing) {
  EXPECT_THAT(parsed("[A]\n; k=1\n\n  \njunk\n#j=2\n"), ElementsAre("[A]", "#j=2"));
}

TEST(ParseIniBytes, CrLfLinesParseLikeLfLines) {
  const std::string lf = "[Sashcaster]\niXKey = 88\n\n[Other]\nk=v\n";
  std::string crlf;
  for (const char byte : lf) {
    crlf += byte == '\n' ? "\r\n" : std::string(1, byte);
  }
  EXPECT_EQ(parsed(crlf), parsed(lf));
  EXPECT_THAT(parsed(crlf), ElementsAre("[Sashcaster]", "iXKey=88", "[Other]", "k=v"));
}

TEST(ParseIniBytes, LoneCarriageReturnEndsNoLine) {
  EXPECT_THAT(parsed("[A]\rk=1\r"), ElementsAre("[A]"));
  EXPECT_THAT(parsed("[A]\niX\rKey=1\n"), ElementsAre("[A]", "iXKey=1"));
}

TEST(ParseIniBytes, ZeroBytesVanishFromNamesAndValues) {
  EXPECT_THAT(parsed("[\0A]\nk\0=\0\x31\0\n"s), ElementsAre("[A]", "k=1"));
}

// Comment and blank lines are told from their first bytes, and carriage
// returns and zero bytes are looked for ahead of the line being read; these
// files mix both so that a skipped line holds the bytes searched for.
TEST(ParseIniBytes, DroppedBytesAroundCommentsAndBlanksChangeNothing) {
  const struct {
    std::string bytes;
    std::vector<std::string> layout;
  } cases[] = {
      {"[A]\n\0;k=1\n\r ;j=2\n \0\t\r;i=3\n"s, {"[A]"}},
      {"[A]\n\0k=1\n"s, {"[A]", "k=1"}},
      {"[A]\n\0\n\r\n\0 \r\n"s, {"[A]"}},
      {"[A]\n;c\r\r\nk\r=1\r\n"s, {"[A]", "k=1"}},
      {"[A]\n;a\rb\nk\r=1"s, {"[A]", "k=1"}},
      {"[A]\n;\0\nk=1\nj=\0\x32\n;\0\r\ni=3\n"s, {"[A]", "k=1", "j=2", "i=3"}},
      {"[A]\n;\n\0[B]\r\nk=1\n"s, {"[A]", "[B]", "k=1"}},
      {"[A]\n\t;[B]\nk=1\n"s, {"[A]", "k=1"}},
  };
  for (const auto& [bytes, expected] : cases) {
    EXPECT_EQ(parsed(bytes), expected) << ::testing::PrintToString(bytes);
    // splitIniLines still hands over every line, comments included.
    EXPECT_EQ(splitIniLines(bytes).size(),
              static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  }
}

TEST(ParseIniBytes, ByteOrderMarkBeforeFirstHeaderIsDropped) {
  EXPECT_THAT(parsed("\xEF\xBB\xBF[Sashcaster]\r\niXKey=1\r\n"),
              ElementsAre("[Sashcaster]", "iXKey=1"));
}

TEST(ParseIniBytes, ByteOrderMarkAfterTheStartStaysInTheLine) {
  // The marked header is no header, so its keys stay in the section before.
  EXPECT_THAT(parsed("[A]\n\xEF\xBB\xBF[B]\nk=1\n"), ElementsAre("[A]", "k=1"));
  EXPECT_THAT(parsed("[A]\n\xEF\xBB\xBFk=1\n"), ElementsAre("[A]", "\xEF\xBB\xBFk=1"));
}

TEST(ParseIniBytes, MergesIntoWhatTheTargetAlreadyHolds) {
  IniStructure document;
  parseIniBytes("[A]\nk=1\n", document);
  parseIniBytes("[B]\n[A]\nk=2\nj=3\n", document);
  EXPECT_THAT(layout(document), ElementsAre("[A]", "k=2", "j=3", "[B]"));
}

TEST(ParseIniBytes, ManySectionsKeepOrderAndIndex) {
  std::string bytes;
  std::vector<std::string> expected;
  for (int s = 0; s < 200; ++s) {
    bytes += "[s" + std::to_string(s) + "]\n";
    expected.push_back("[s" + std::to_string(s) + "]");
    for (int k = 0; k < 20; ++k) {
      bytes += "key" + std::to_string(k) + "=value of a longer length " + std::to_string(s) + "\n";
      expected.push_back("key" + std::to_string(k) + "=value of a longer length " +
                         std::to_string(s));
    }
  }
  EXPECT_EQ(parsed(bytes), expected);
}

}  // namespace
}  // namespace sashcaster::testing
