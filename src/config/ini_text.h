// Byte-level text helpers of the INI reader and the classification of one line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace sashcaster {

// The only bytes counted as whitespace; bytes 0x80 and above never are.
inline constexpr std::string_view iniWhitespace = " \t\n\r\f\v";

// Whether the byte is one of iniWhitespace; a comparison per byte is cheaper
// than searching the set for every byte of a line.
constexpr bool iniWhitespaceByte(char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

enum class IniLineKind : std::uint8_t { Blank, Comment, SectionHeader, KeyValue, Unrecognised };

// Removes whitespace bytes from both ends of the string.
void trimWhitespace(std::string& text);

// The view without whitespace bytes at either end; the bytes are not copied.
std::string_view trimmedView(std::string_view text);

// Replaces every occurrence of the pattern, left to right; the inserted
// replacement is never searched again. An empty pattern changes nothing.
void replaceAll(std::string& text, std::string_view pattern, std::string_view replacement);

// Tells what one line of an INI file is and fills the pair: the section name
// of a header, or the key and value of a key/value line; both are left empty
// for every other kind. The caller's line is never changed.
IniLineKind classifyLine(std::string_view line, std::pair<std::string, std::string>& pair);

}  // namespace sashcaster
