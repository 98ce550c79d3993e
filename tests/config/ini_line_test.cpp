// One line of an INI file: what kind it is and the names and values it gives.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "config/ini_text.h"
#include "support/case_name.h"

namespace sashcaster::testing {
namespace {

using Pair = std::pair<std::string, std::string>;

struct LineCase {
  std::string name;
  std::string line;
  IniLineKind kind;
  std::string first = {};
  std::string second = {};

  // Shown by the test runner in place of the bytes of the case.
  friend std::ostream& operator<<(std::ostream& out, const LineCase& c) { return out << c.name; }
};

class ClassifyLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ClassifyLineTest, GivesKindAndPair) {
  // A pair left over from an earlier line must not leak into this one.
  Pair pair{"stale", "stale"};
  EXPECT_EQ(classifyLine(GetParam().line, pair), GetParam().kind);
  EXPECT_EQ(pair.first, GetParam().first);
  EXPECT_EQ(pair.second, GetParam().second);
}

using K = IniLineKind;

INSTANTIATE_TEST_SUITE_P(
    Blank, ClassifyLineTest,
    ::testing::Values(LineCase{"EmptyLine", "", K::Blank},
                      LineCase{"AllSixWhitespaceBytes", " \t\n\r\f\v", K::Blank},
                      LineCase{"NonBreakingSpaceIsNoWhitespace", "\xA0", K::Unrecognised}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Comments, ClassifyLineTest,
    ::testing::Values(LineCase{"SemicolonFirst", ";iXKey=1", K::Comment},
                      LineCase{"SemicolonAfterIndent", "  ;iXKey=1", K::Comment},
                      LineCase{"HashStartsNoComment", "#iXKey=1", K::KeyValue, "#iXKey", "1"},
                      LineCase{"SemicolonAfterValueIsPartOfIt", "iXKey = 88 ; note", K::KeyValue,
                               "iXKey", "88 ; note"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Headers, ClassifyLineTest,
    ::testing::Values(LineCase{"PlainHeader", "[Sashcaster]", K::SectionHeader, "Sashcaster"},
                      LineCase{"NameIsTrimmed", "[ Sashcaster ]", K::SectionHeader, "Sashcaster"},
                      LineCase{"IndentedHeader", "\t[A]", K::SectionHeader, "A"},
                      LineCase{"CommentAfterHeaderIsCut", "[Sashcaster] ; note", K::SectionHeader,
                               "Sashcaster"},
                      LineCase{"BytesAfterLastBracketAreIgnored", "[A]k=1", K::SectionHeader, "A"},
                      LineCase{"EarlierBracketsBelongToName", "[a]b]", K::SectionHeader, "a]b"},
                      LineCase{"EmptyName", "[]", K::SectionHeader, ""},
                      LineCase{"EqualsInsideBracketsIsAName", "[k=v]", K::SectionHeader, "k=v"},
                      LineCase{"NameCaseIsKept", "[SashCaster]", K::SectionHeader, "SashCaster"},
                      LineCase{"CutBeforeCloseLeavesNoHeader", "[ab;cd]", K::Unrecognised},
                      LineCase{"NoCloseIsKeyValue", "[A=1", K::KeyValue, "[A", "1"},
                      LineCase{"CutLineIsReadAsKeyValue", "[A=1;x]", K::KeyValue, "[A", "1"},
                      LineCase{"SemicolonInsideNameCutsIt", "[a]b;c]", K::SectionHeader, "a"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    KeysAndValues, ClassifyLineTest,
    ::testing::Values(LineCase{"KeyAndValueAreTrimmed", " iXKey = 88 ", K::KeyValue, "iXKey", "88"},
                      LineCase{"TabsAndFormFeedsAreTrimmed", "\tk\f=\v v\t", K::KeyValue, "k", "v"},
                      LineCase{"InnerSpacesStay", "my key = a b", K::KeyValue, "my key", "a b"},
                      LineCase{"EmptyKey", "=5", K::KeyValue, "", "5"},
                      LineCase{"EmptyValue", "k=", K::KeyValue, "k", ""},
                      LineCase{"SplitAtFirstEquals", "k==5", K::KeyValue, "k", "=5"},
                      LineCase{"KeyAloneIsIgnored", "k", K::Unrecognised},
                      LineCase{"QuotesStayInValue", "k=\"88\"", K::KeyValue, "k", "\"88\""},
                      LineCase{"NonBreakingSpaceStaysInValue", "k=88\xA0", K::KeyValue, "k",
                               "88\xA0"},
                      LineCase{"HighBytesPassUnchanged", "k\xC3\xA9=\xE2\x82\xAC", K::KeyValue,
                               "k\xC3\xA9", "\xE2\x82\xAC"}),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    EscapedEquals, ClassifyLineTest,
    ::testing::Values(LineCase{"UnescapedInKey", "a\\=b = c", K::KeyValue, "a=b", "c"},
                      LineCase{"KeptInValue", "k = a\\=b", K::KeyValue, "k", "a\\=b"},
                      LineCase{"AloneIsIgnored", "a\\=b", K::Unrecognised},
                      LineCase{"AtStartOfKey", "\\=k=v", K::KeyValue, "=k", "v"},
                      LineCase{"AfterDoubleBackslash", "a\\\\=b=c", K::KeyValue, "a\\=b", "c"},
                      LineCase{"BackslashBeforeSpaceEscapesNothing", "a\\ =b", K::KeyValue, "a\\",
                               "b"}),
    CaseName());

// The same split, made literally: a copy with each backslash-equals replaced
// by two spaces is searched for the separator.
IniLineKind literalClassify(std::string line, Pair& pair) {
  pair = {};
  trimWhitespace(line);
  if (line.empty()) {
    return K::Blank;
  }
  if (line[0] == ';') {
    return K::Comment;
  }
  if (line[0] == '[') {
    if (const std::size_t cut = line.find(';'); cut != std::string::npos) {
      line.erase(cut);
    }
    if (const std::size_t close = line.rfind(']'); close != std::string::npos) {
      pair.first = line.substr(1, close - 1);
      trimWhitespace(pair.first);
      return K::SectionHeader;
    }
  }
  std::string normalised = line;
  replaceAll(normalised, "\\=", "  ");
  const std::size_t separator = normalised.find('=');
  if (separator == std::string::npos) {
    return K::Unrecognised;
  }
  pair.first = line.substr(0, separator);
  trimWhitespace(pair.first);
  replaceAll(pair.first, "\\=", "=");
  pair.second = line.substr(separator + 1);
  trimWhitespace(pair.second);
  return K::KeyValue;
}

TEST(ClassifyLine, AgreesWithLiteralSplitOnGeneratedLines) {
  const std::string alphabet = "ab\\\\==  [];\t";
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> length(0, 12);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    for (std::size_t n = length(random); n > 0; --n) {
      line.push_back(alphabet[pick(random)]);
    }
    Pair expected;
    Pair actual;
    const IniLineKind expectedKind = literalClassify(line, expected);
    ASSERT_EQ(classifyLine(line, actual), expectedKind) << "line: " << line;
    ASSERT_EQ(actual, expected) << "line: " << line;
  }
}

// --- Whitespace and replacement ---------------------------------------------

TEST(TrimWhitespace, RemovesExactlyTheSixBytesAtBothEnds) {
  std::string text = " \t\n\r\f\va \t b\v\f\r\n\t ";
  trimWhitespace(text);
  EXPECT_EQ(text, "a \t b");

  std::string onlyWhitespace = "\v\f \r\n\t";
  trimWhitespace(onlyWhitespace);
  EXPECT_EQ(onlyWhitespace, "");

  // Neither a non-breaking space, a zero byte nor other control bytes count.
  std::string others("\xA0\x1C\0x\0\x85", 6);
  trimWhitespace(others);
  EXPECT_EQ(others, std::string("\xA0\x1C\0x\0\x85", 6));
}

TEST(TrimWhitespace, OfAllTheByteValuesOnlyTheSixAreWhitespace) {
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    const bool whitespace = iniWhitespace.find(byte) != std::string_view::npos;
    std::string text(3, byte);
    trimWhitespace(text);
    EXPECT_EQ(text.empty(), whitespace) << "byte " << value;
    EXPECT_EQ(trimmedView(std::string(1, byte)).empty(), whitespace) << "byte " << value;
    EXPECT_EQ(iniWhitespaceByte(byte), whitespace) << "byte " << value;
  }
}

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanningTheReplacement) {
  std::string text = "a\\=b\\=\\=c";
  replaceAll(text, "\\=", "=");
  EXPECT_EQ(text, "a=b==c");

  // The replacement holds the pattern; it must not be searched again.
  std::string growing = "\\=x\\=";
  replaceAll(growing, "\\=", "\\=\\=");
  EXPECT_EQ(growing, "\\=\\=x\\=\\=");

  std::string shrinking = "\\\\==";
  replaceAll(shrinking, "\\=", "");
  EXPECT_EQ(shrinking, "\\=");

  std::string untouched = "abc";
  replaceAll(untouched, "", "x");
  EXPECT_EQ(untouched, "abc");
}

}  // namespace
}  // namespace sashcaster::testing
