// Conversion of a settings value text into a signed 32-bit number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sashcaster {

// Reads a decimal number as std::stoi does in base 10: leading whitespace
// (space, \t, \n, \v, \f, \r), one optional sign, then digits as far as they
// go; whatever follows is ignored, and there is no base prefix.
// No number when no digit is found or the number lies outside the int32 range.
// Nothing is thrown: the conversion runs on the game's thread every turn.
std::optional<std::int32_t> parseDecimalInt32(std::string_view text);

// Why a text gives no number, for those that explain it to a player.
enum class DecimalFailure : std::uint8_t { None, NoDigits, OutOfRange };

// What parseDecimalInt32 makes of the text: None exactly when it gives a number.
DecimalFailure decimalFailureOf(std::string_view text);

}  // namespace sashcaster
