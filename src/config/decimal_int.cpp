#include "config/decimal_int.h"

#include <limits>

#include "config/ini_text.h"

namespace sashcaster {

namespace {

// ASCII digits only, whatever the locale.
bool decimalDigit(char byte) {
  return byte >= '0' && byte <= '9';
}

struct Reading {
  DecimalFailure failure = DecimalFailure::None;
  std::int32_t value = 0;
};

Reading readDecimal(std::string_view text) {
  std::size_t position = 0;
  // The reader's six whitespace bytes are those of the "C" locale, so that no
  // locale the game sets changes how a value reads.
  while (position < text.size() && iniWhitespaceByte(text[position])) {
    ++position;
  }
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  const std::size_t firstDigit = position;
  // Once past every int32 magnitude the sum stops growing, so any number of
  // digits fits in 64 bits.
  constexpr std::int64_t saturated = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
  std::int64_t magnitude = 0;
  while (position < text.size() && decimalDigit(text[position])) {
    if (magnitude < saturated) {
      magnitude = magnitude * 10 + (text[position] - '0');
    }
    ++position;
  }
  if (position == firstDigit) {
    return {DecimalFailure::NoDigits, 0};
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return {DecimalFailure::OutOfRange, 0};
  }
  return {DecimalFailure::None, static_cast<std::int32_t>(value)};
}

}  // namespace

std::optional<std::int32_t> parseDecimalInt32(std::string_view text) {
  const Reading reading = readDecimal(text);
  if (reading.failure != DecimalFailure::None) {
    return std::nullopt;
  }
  return reading.value;
}

DecimalFailure decimalFailureOf(std::string_view text) {
  return readDecimal(text).failure;
}

}  // namespace sashcaster
