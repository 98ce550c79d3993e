#include "keys/key_names.h"

#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace sashcaster::keys {

namespace {

// Codes whose name is a stem and a number: F1 to F24, Numpad 0 to 9.
struct NumberedKeys {
  std::uint32_t first;
  std::uint32_t last;
  std::uint32_t firstNumber;
  const char* stem;
};

constexpr std::array<NumberedKeys, 2> numberedKeys{{
    {0x70, 0x87, 1, "F"},
    {0x60, 0x69, 0, "Numpad "},
}};

struct KeyName {
  std::uint32_t code;
  const char* name;
};

// The codes Windows assigns to keys; reserved and unassigned ones are left out.
constexpr auto namedKeys = std::to_array<KeyName>({
    {0x01, "Left mouse button"},
    {0x02, "Right mouse button"},
    {0x03, "Break"},
    {0x04, "Middle mouse button"},
    {0x05, "Mouse 4"},
    {0x06, "Mouse 5"},
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x10, "Shift"},
    {0x11, "Ctrl"},
    {0x12, "Alt"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x15, "IME Kana"},
    {0x16, "IME On"},
    {0x17, "IME Junja"},
    {0x18, "IME Final"},
    {0x19, "IME Kanji"},
    {0x1A, "IME Off"},
    {0x1B, "Esc"},
    {0x1C, "IME Convert"},
    {0x1D, "IME Nonconvert"},
    {0x1E, "IME Accept"},
    {0x1F, "IME Mode change"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left arrow"},
    {0x26, "Up arrow"},
    {0x27, "Right arrow"},
    {0x28, "Down arrow"},
    {0x29, "Select"},
    {0x2A, "Print"},
    {0x2B, "Execute"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x2F, "Help"},
    {0x5B, "Left Windows"},
    {0x5C, "Right Windows"},
    {0x5D, "Menu"},
    {0x5F, "Sleep"},
    {0x6A, "Numpad *"},
    {0x6B, "Numpad +"},
    {0x6C, "Numpad separator"},
    {0x6D, "Numpad -"},
    {0x6E, "Numpad ."},
    {0x6F, "Numpad /"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA0, "Left Shift"},
    {0xA1, "Right Shift"},
    {0xA2, "Left Ctrl"},
    {0xA3, "Right Ctrl"},
    {0xA4, "Left Alt"},
    {0xA5, "Right Alt"},
    {0xA6, "Browser Back"},
    {0xA7, "Browser Forward"},
    {0xA8, "Browser Refresh"},
    {0xA9, "Browser Stop"},
    {0xAA, "Browser Search"},
    {0xAB, "Browser Favorites"},
    {0xAC, "Browser Home"},
    {0xAD, "Volume Mute"},
    {0xAE, "Volume Down"},
    {0xAF, "Volume Up"},
    {0xB0, "Next Track"},
    {0xB1, "Previous Track"},
    {0xB2, "Stop Media"},
    {0xB3, "Play/Pause Media"},
    {0xB4, "Start Mail"},
    {0xB5, "Select Media"},
    {0xB6, "Start App 1"},
    {0xB7, "Start App 2"},
    {0xBA, "; (US layout)"},
    {0xBB, "= (US layout)"},
    {0xBC, ", (comma)"},
    {0xBD, "- (minus)"},
    {0xBE, ". (period)"},
    {0xBF, "/ (US layout)"},
    {0xC0, "` (US layout)"},
    {0xDB, "[ (US layout)"},
    {0xDC, "\\ (US layout)"},
    {0xDD, "] (US layout)"},
    {0xDE, "' (US layout)"},
    {0xDF, "OEM 8"},
    {0xE2, "< > (102nd key)"},
    {0xE5, "IME Process"},
    {0xE7, "Packet"},
    {0xF6, "Attn"},
    {0xF7, "CrSel"},
    {0xF8, "ExSel"},
    {0xF9, "Erase EOF"},
    {0xFA, "Play"},
    {0xFB, "Zoom"},
    {0xFD, "PA1"},
    {0xFE, "OEM Clear"},
});

// Other spellings players type for keys of the table above.
constexpr auto otherSpellings = std::to_array<KeyName>({
    {0x0D, "Return"},
    {0x11, "Control"},
    {0x1B, "Escape"},
    {0x20, "Spacebar"},
    {0x21, "PgUp"},
    {0x22, "PgDn"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
    {0x6A, "Numpad multiply"},
    {0x6B, "Numpad plus"},
    {0x6D, "Numpad minus"},
    {0x6E, "Numpad decimal"},
    {0x6F, "Numpad divide"},
    {0xA2, "Left Control"},
    {0xA3, "Right Control"},
});

// "Num 2" is "Numpad 2" for every key of the number pad.
constexpr std::string_view numberPadStem = "numpad";
constexpr std::string_view numberPadShortStem = "num";

bool isLetterOrDigit(std::uint32_t code) {
  return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

std::optional<std::uint32_t> codeSpelled(const std::string& spelling) {
  for (std::uint32_t code = 1; code < 255; ++code) {
    const std::optional<std::string> name = keyName(code);
    if (name && spellingOf(*name) == spelling) {
      return code;
    }
  }
  for (const KeyName& other : otherSpellings) {
    if (spellingOf(other.name) == spelling) {
      return other.code;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> keyName(std::uint32_t code) {
  if (isLetterOrDigit(code)) {
    return std::string(1, static_cast<char>(code));
  }
  for (const NumberedKeys& range : numberedKeys) {
    if (code >= range.first && code <= range.last) {
      return range.stem + std::to_string(code - range.first + range.firstNumber);
    }
  }
  for (const KeyName& named : namedKeys) {
    if (named.code == code) {
      return named.name;
    }
  }
  return std::nullopt;
}

std::string describeKey(std::uint32_t code) {
  if (code >= 255) {
    return "off";
  }
  return keyName(code).value_or("no key");
}

std::string spellingOf(std::string_view name) {
  std::string spelling;
  for (const char c : name) {
    if (c != ' ') {
      spelling += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  return spelling;
}

std::optional<std::uint32_t> keyCode(const std::string& name) {
  const std::string spelling = spellingOf(name);
  if (spelling.empty()) {
    return std::nullopt;
  }
  if (const std::optional<std::uint32_t> code = codeSpelled(spelling)) {
    return code;
  }
  if (spelling.starts_with(numberPadShortStem) && !spelling.starts_with(numberPadStem)) {
    return codeSpelled(std::string(numberPadStem) + spelling.substr(numberPadShortStem.size()));
  }
  return std::nullopt;
}

std::vector<std::string> otherNamesOf(std::uint32_t code) {
  std::vector<std::string> names;
  for (const KeyName& other : otherSpellings) {
    if (other.code == code) {
      names.emplace_back(other.name);
    }
  }
  const std::optional<std::string> name = keyName(code);
  if (name && spellingOf(*name).starts_with(numberPadStem)) {
    names.push_back("Num " + name->substr(numberPadStem.size() + 1));
  }
  return names;
}

std::string writtenCode(std::uint32_t code) {
  // The plug-in stores a negative number bit for bit: -1 arrives as 4294967295.
  return std::to_string(static_cast<std::int32_t>(code));
}

bool isMouseButton(std::uint32_t code) {
  return code == 0x01 || code == 0x02 || (code >= 0x04 && code <= 0x06);
}

std::optional<std::uint32_t> codeReceivedFor(std::uint32_t code) {
  // Left and right Shift, Ctrl and Alt come in pairs from 0xA0, in the order
  // of the generic codes 0x10 to 0x12.
  if (code >= 0xA0 && code <= 0xA5) {
    return 0x10 + (code - 0xA0) / 2;
  }
  return std::nullopt;
}

std::optional<std::string> whyNeverReceived(std::uint32_t code) {
  const std::optional<std::string> name = keyName(code);
  if (!name) {
    return std::nullopt;
  }
  const std::string key = *name + " (" + std::to_string(code) + ")";
  if (isMouseButton(code)) {
    return key +
           " never reaches the plug-in: it is told of keyboard keys only, so a mouse button "
           "cannot be used; choose a key";
  }
  if (const std::optional<std::uint32_t> received = codeReceivedFor(code)) {
    const std::string generic = *keyName(*received);
    return key + " never reaches the plug-in: " + generic + " arrives as " +
           std::to_string(*received) + " whichever side is pressed; use " +
           std::to_string(*received) + " (" + generic + ")";
  }
  return std::nullopt;
}

}  // namespace sashcaster::keys
