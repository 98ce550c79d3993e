#include "config/utf16_text.h"

namespace sashcaster {

namespace {

constexpr std::uint32_t replacementCharacter = 0xFFFD;

bool isHighSurrogate(std::uint32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

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

bool startsWithUtf16Mark(std::string_view bytes) {
  return bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

TextUnits::TextUnits(std::string_view fileBytes)
    : bytes(fileBytes),
      width(startsWithUtf16Mark(fileBytes) ? 2 : 1),
      first(width == 2 ? 2 : 0),
      end(width == 2 ? fileBytes.size() - fileBytes.size() % 2 : fileBytes.size()),
      bigEndian(fileBytes.starts_with("\xFE\xFF")) {}

void appendAsUtf8(const TextUnits& units, std::size_t from, std::size_t to, std::string& out) {
  if (units.width == 1) {
    out.append(units.bytes.substr(from, to - from));
    return;
  }
  for (std::size_t at = from; at < to; at += 2) {
    const std::uint32_t unit = units.at(at);
    if (isHighSurrogate(unit) && at + 2 < to && isLowSurrogate(units.at(at + 2))) {
      appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units.at(at + 2) - 0xDC00), out);
      at += 2;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(replacementCharacter, out);
    } else {
      appendUtf8(unit, out);
    }
  }
}

void appendReplacementCharacter(std::string& out) {
  appendUtf8(replacementCharacter, out);
}

std::string utf16ToUtf8(std::string_view bytes) {
  const TextUnits units(bytes);
  std::string out;
  out.reserve((units.end - units.first) * 3 / 4);
  appendAsUtf8(units, units.first, units.end, out);
  if (units.oddByteLeft()) {
    appendReplacementCharacter(out);
  }
  return out;
}

}  // namespace sashcaster
