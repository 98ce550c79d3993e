#include "config/utf16_text.h"

#include <cstddef>
#include <cstdint>

namespace sashcaster {

namespace {

constexpr std::uint32_t replacementCharacter = 0xFFFD;

bool isHighSurrogate(std::uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf8(std::uint32_t code, std::string& out) {
  auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
  if (code < 0x80) {
    put(code);
  } else if (code < 0x800) {
    put(0xC0 | (code >> 6));
    put(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    put(0xE0 | (code >> 12));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  } else {
    put(0xF0 | (code >> 18));
    put(0x80 | ((code >> 12) & 0x3F));
    put(0x80 | ((code >> 6) & 0x3F));
    put(0x80 | (code & 0x3F));
  }
}

// The code units of the text after the mark, in the file's byte order.
class CodeUnits {
 public:
  CodeUnits(std::string_view bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

  std::size_t count() const { return bytes_.size() / 2; }
  bool oddByteLeft() const { return bytes_.size() % 2 != 0; }

  std::uint32_t at(std::size_t index) const {
    const auto first = static_cast<unsigned char>(bytes_[2 * index]);
    const auto second = static_cast<unsigned char>(bytes_[2 * index + 1]);
    return bigEndian_ ? (std::uint32_t{first} << 8) | second : (std::uint32_t{second} << 8) | first;
  }

 private:
  std::string_view bytes_;
  bool bigEndian_;
};

}  // namespace

bool startsWithUtf16Mark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

std::string utf16ToUtf8(std::string_view bytes) {
  const CodeUnits units(bytes.substr(2), bytes.starts_with("\xFE\xFF"));
  std::string out;
  out.reserve(units.count() * 3 / 2);
  for (std::size_t i = 0; i < units.count(); ++i) {
    const std::uint32_t unit = units.at(i);
    if (isHighSurrogate(unit) && i + 1 < units.count() && isLowSurrogate(units.at(i + 1))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units.at(i + 1) - 0xDC00), out);
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(replacementCharacter, out);
    } else {
      appendUtf8(unit, out);
    }
  }
  if (units.oddByteLeft()) {
    appendUtf8(replacementCharacter, out);
  }
  return out;
}

}  // namespace sashcaster
