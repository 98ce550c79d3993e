#include "i18n/text_case.h"

#include <cctype>
#include <cstdint>

#include "config/utf16_text.h"

namespace sashcaster::i18n {

namespace {

// The code point at `at` and the bytes it takes; a byte that starts no
// character of UTF-8 stands for itself.
std::uint32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (at + length > text.size()) {
    length = 1;
    return lead;
  }
  std::uint32_t point = length == 1 ? lead : lead & (0x7FU >> length);
  for (std::size_t i = 1; i < length; ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3FU);
  }
  return point;
}

std::uint32_t lowerPoint(std::uint32_t point) {
  if (point < 0x80) {
    return static_cast<std::uint32_t>(std::tolower(static_cast<int>(point)));
  }
  if (point >= 0xC0 && point <= 0xDE && point != 0xD7) {
    return point + 0x20;
  }
  // Latin Extended-A pairs its letters upper then lower, from Ā to ķ and
  // from Ŋ to ŷ; from Ĺ to ň and from Ź to ž the upper one comes second.
  const bool evenUpper = (point >= 0x100 && point <= 0x137) || (point >= 0x14A && point <= 0x177);
  const bool oddUpper = (point >= 0x139 && point <= 0x148) || (point >= 0x179 && point <= 0x17E);
  if ((evenUpper && point % 2 == 0) || (oddUpper && point % 2 == 1)) {
    return point + 1;
  }
  if (point >= 0x410 && point <= 0x42F) {
    return point + 0x20;
  }
  if (point >= 0x400 && point <= 0x40F) {
    return point + 0x50;
  }
  return point;
}

bool isWide(std::uint32_t point) {
  return (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
         (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
         (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
         (point >= 0xFFE0 && point <= 0xFFE6);
}

}  // namespace

std::string lowerCase(std::string_view text) {
  std::string out;
  for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
    const std::uint32_t point = decode(text, at, length);
    const std::uint32_t lower = lowerPoint(point);
    if (lower == point) {
      out.append(text.substr(at, length));
    } else {
      appendUtf8(lower, out);
    }
  }
  return out;
}

std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
    width += isWide(decode(text, at, length)) ? 2U : 1U;
  }
  return width;
}

}  // namespace sashcaster::i18n
