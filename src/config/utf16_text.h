// A settings file's code units, and UTF-16 text turned into UTF-8. Files
// saved as UTF-16 ("Unicode" in Notepad) are read through their 16-bit units,
// so that the reader's byte rules see text and a tool can still tell where in
// the file each unit stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sashcaster {

// True when the bytes begin with FF FE (little-endian) or FE FF (big-endian).
bool startsWithUtf16Mark(std::string_view bytes);

// The code units of a file: its bytes, or after a UTF-16 mark its 16-bit
// units in the file's byte order. A byte the reader takes as ASCII is a unit
// of that value in either encoding. Positions are byte offsets in the file.
struct TextUnits {
  explicit TextUnits(std::string_view fileBytes);

  // The unit that starts at the offset, which lies in [first, end).
  std::uint32_t at(std::size_t offset) const {
    const auto low = static_cast<unsigned char>(bytes[offset]);
    if (width == 1) {
      return low;
    }
    const auto high = static_cast<unsigned char>(bytes[offset + 1]);
    return bigEndian ? (std::uint32_t{low} << 8) | high : (std::uint32_t{high} << 8) | low;
  }

  // A last odd byte of a UTF-16 file, which is no unit.
  bool oddByteLeft() const { return end < bytes.size(); }

  std::string_view bytes;
  std::size_t width;  // 1, or 2 after a UTF-16 mark
  std::size_t first;  // where the first unit starts: after the mark, if any
  std::size_t end;    // where the last whole unit ends
  bool bigEndian;
};

// One code point appended to `out` in UTF-8.
void appendUtf8(std::uint32_t code, std::string& out);

// Appends the units in [from, to) as UTF-8. Surrogate pairs are combined; an
// unpaired surrogate becomes U+FFFD. Bytes of a file without a UTF-16 mark
// are appended as they are.
void appendAsUtf8(const TextUnits& units, std::size_t from, std::size_t to, std::string& out);

// Appends U+FFFD, which stands for what could not be decoded.
void appendReplacementCharacter(std::string& out);

// The text after the mark as UTF-8, as appendAsUtf8 makes it; a last odd
// byte becomes U+FFFD. Call only when startsWithUtf16Mark holds.
std::string utf16ToUtf8(std::string_view bytes);

}  // namespace sashcaster
