// Value texts converted to signed 32-bit numbers as std::stoi does in base 10,
// with "no number" where std::stoi throws.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>

#include "config/decimal_int.h"
#include "support/case_name.h"

namespace sashcaster::testing {
namespace {

struct NumberCase {
  std::string name;
  std::string text;
  std::int32_t value;

  // Shown by the test runner in place of the bytes of the case.
  friend std::ostream& operator<<(std::ostream& out, const NumberCase& c) { return out << c.name; }
};

class DecimalNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DecimalNumberTest, ConvertsToTheNumber) {
  EXPECT_EQ(parseDecimalInt32(GetParam().text), std::optional(GetParam().value));
  EXPECT_EQ(decimalFailureOf(GetParam().text), DecimalFailure::None);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalNumberTest,
    ::testing::Values(NumberCase{"Plain", "88", 88}, NumberCase{"Zero", "0", 0},
                      NumberCase{"PlusSign", "+88", 88}, NumberCase{"MinusOne", "-1", -1},
                      NumberCase{"LeadingZerosAreNotOctal", "065", 65},
                      NumberCase{"HexPrefixStopsAtTheX", "0x41", 0},
                      NumberCase{"CommentAfterValueIsIgnored", "88 ; note", 88},
                      NumberCase{"StopsAtFirstNonDigit", "12ab34", 12},
                      NumberCase{"DecimalPointEndsTheNumber", "8.8", 8},
                      NumberCase{"AllSixLeadingSpacesAreSkipped", " \t\n\v\f\r42", 42},
                      NumberCase{"MinusZero", "-0", 0},
                      NumberCase{"Largest", "2147483647", 2147483647},
                      NumberCase{"Smallest", "-2147483648", -2147483647 - 1},
                      NumberCase{"ManyLeadingZeros", std::string(5000, '0') + "2147483647",
                                 2147483647}),
    CaseName());

constexpr DecimalFailure noDigits = DecimalFailure::NoDigits;
constexpr DecimalFailure outOfRange = DecimalFailure::OutOfRange;

struct FailureCase {
  std::string name;
  std::string text;
  DecimalFailure failure;

  // Shown by the test runner in place of the bytes of the case.
  friend std::ostream& operator<<(std::ostream& out, const FailureCase& c) { return out << c.name; }
};

class DecimalFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DecimalFailureTest, GivesNoNumberAndTellsWhy) {
  EXPECT_EQ(parseDecimalInt32(GetParam().text), std::nullopt);
  EXPECT_EQ(decimalFailureOf(GetParam().text), GetParam().failure);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalFailureTest,
    ::testing::Values(
        FailureCase{"Empty", "", noDigits}, FailureCase{"OnlySpaces", " \t ", noDigits},
        FailureCase{"SignAlone", "-", noDigits}, FailureCase{"TwoSigns", "+-1", noDigits},
        FailureCase{"SpaceAfterSign", "- 1", noDigits}, FailureCase{"Word", "X", noDigits},
        FailureCase{"NonBreakingSpaceIsNotSkipped",
                    "\xA0"
                    "1",
                    noDigits},
        FailureCase{"OneOverLargest", "2147483648", outOfRange},
        FailureCase{"OneUnderSmallest", "-2147483649", outOfRange},
        FailureCase{"FarOverLargest", "99999999999999999999", outOfRange},
        FailureCase{"TenThousandDigits", std::string(10000, '9'), outOfRange},
        FailureCase{"TenThousandDigitsNegative", std::string("-").append(10000, '7'), outOfRange}),
    CaseName());

// Same number as std::stoi in base 10, or no number for the reason std::stoi
// throws: invalid_argument for no digits, out_of_range outside the range.
void expectSameAsStoi(const std::string& text) {
  std::optional<std::int32_t> expected;
  DecimalFailure expectedFailure = DecimalFailure::None;
  try {
    expected = std::stoi(text, nullptr, 10);
  } catch (const std::invalid_argument&) {
    expectedFailure = DecimalFailure::NoDigits;
  } catch (const std::out_of_range&) {
    expectedFailure = DecimalFailure::OutOfRange;
  }
  ASSERT_EQ(parseDecimalInt32(text), expected) << "text: \"" << text << "\"";
  ASSERT_EQ(decimalFailureOf(text), expectedFailure) << "text: \"" << text << "\"";
}

TEST(DecimalConversion, AgreesWithStoiOnGeneratedTexts) {
  const std::string alphabet = "0123456789  \t\n\v\f\r+-x;.a\xA0";
  std::mt19937 random(77);
  std::uniform_int_distribution<std::size_t> length(0, 14);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 50000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) {
      text.push_back(alphabet[pick(random)]);
    }
    expectSameAsStoi(text);
  }
}

TEST(DecimalConversion, AgreesWithStoiAroundTheLimits) {
  std::mt19937 random(78);
  std::uniform_int_distribution<std::int64_t> offset(-3000, 3000);
  const std::int64_t limits[] = {0, 2147483647, -2147483648LL, 4294967295LL, -4294967296LL};
  for (const std::int64_t limit : limits) {
    for (int round = 0; round < 2000; ++round) {
      const std::int64_t number = limit + offset(random);
      expectSameAsStoi(std::to_string(number));
      expectSameAsStoi(" +" + std::to_string(number) + " ; note");
      expectSameAsStoi("000" + std::to_string(number));
    }
  }
}

}  // namespace
}  // namespace sashcaster::testing
