// Conversion of a settings value text into a signed 32-bit number.
#pragma once

#include <cstdint>
#include <string_view>

namespace sashcaster {

// Reads a decimal number as std::stoi does in base 10: leading whitespace
// (space, \t, \n, \v, \f, \r), one optional sign, then digits as far as they
// go; whatever follows is ignored, and there is no base prefix.
// Throws std::invalid_argument("invalid stoi argument") when no digit is found
// and std::out_of_range("stoi argument out of range") outside the int32 range.
std::int32_t parseDecimalInt32(std::string_view text);

}  // namespace sashcaster
