#include "soak/settings_files.h"

#include "config/settings_keys.h"

namespace sashcaster::soak {
namespace {

std::uint32_t randomKey(std::mt19937_64& random) {
  const std::uint64_t roll = random() % 50;
  if (roll == 0) {
    return 0;
  }
  if (roll == 1) {
    return 255 + static_cast<std::uint32_t>(random() % 1000);
  }
  return 1 + static_cast<std::uint32_t>(random() % 254);
}

}  // namespace

Keys randomKeys(std::mt19937_64& random) {
  Keys keys{};
  for (std::uint32_t& key : keys) {
    key = randomKey(random);
  }
  return keys;
}

std::string settingsText(const Keys& keys) {
  std::string text = "; keys for the throws\r\n[Other]\r\niXKey=1\r\n[Sashcaster]\r\n";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    text += std::string(settingsKeys[i].name) + " = " + std::to_string(keys[i]) + "\r\n";
  }
  return text;
}

std::string withUtf8Mark(const std::string& text) {
  return "\xEF\xBB\xBF" + text;
}

std::string asUtf16(const std::string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : text) {
    const std::string unit = {c, '\0'};
    bytes += bigEndian ? std::string{'\0', c} : unit;
  }
  return bytes;
}

std::string garbage(std::size_t size, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random());
  }
  return bytes;
}

std::string zeroBytesThroughout() {
  static constexpr char literal[] =
      "\0[Sash\0caster]\0\n\0iXKey\0=\0 7\0"
      "1\0\n\0";
  return std::string(4096, '\0') + std::string(literal, sizeof literal - 1);
}

std::string hugeLines() {
  return "[Sashcaster]\n" + std::string(100000, 'x') + "\niXKey = 66" + std::string(100000, ' ') +
         "; the rest of a long line\n" + std::string(200000, '[') + "\n";
}

std::string paddedTo(std::size_t size) {
  std::string text = "[Sashcaster]\niXKey=70\niWindowThrowFront=71\n";
  const std::string comment = "; " + std::string(61, '-') + "\n";
  while (text.size() + comment.size() <= size) {
    text += comment;
  }
  return text + std::string(size - text.size(), ';');
}

std::string numbersPastTheLimits() {
  return "[Sashcaster]\niXKey=2147483648\niWindowThrowFront=-2147483649\n"
         "iWindowThrowLeft=99999999999999999999\niWindowThrowRight=12abc\niWindowThrowBack=\n"
         "iXKey=0x41\n";
}

}  // namespace sashcaster::soak
