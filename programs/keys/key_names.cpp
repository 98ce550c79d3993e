#include "keys/key_names.h"

#include <array>
#include <string_view>
#include <vector>

#include "i18n/messages.h"
#include "i18n/text_case.h"

namespace sashcaster::keys {

namespace {

// F1 to F24, the same in every language; Numpad 0 to 9, named by key.numpad.
constexpr std::uint32_t firstFunctionKey = 0x70;
constexpr std::uint32_t lastFunctionKey = 0x87;
constexpr std::uint32_t firstNumberPadDigit = 0x60;
constexpr std::uint32_t lastNumberPadDigit = 0x69;

// A key named by a message of the catalogues.
struct KeyMessage {
  std::uint32_t code;
  const char* id;
};

// Another spelling of a key, in English.
struct KeyName {
  std::uint32_t code;
  const char* name;
};

// The codes Windows assigns to keys; reserved and unassigned ones are left out.
constexpr auto namedKeys = std::to_array<KeyMessage>({
    {0x01, "key.left_mouse_button"},
    {0x02, "key.right_mouse_button"},
    {0x03, "key.break"},
    {0x04, "key.middle_mouse_button"},
    {0x05, "key.mouse_4"},
    {0x06, "key.mouse_5"},
    {0x08, "key.backspace"},
    {0x09, "key.tab"},
    {0x0C, "key.clear"},
    {0x0D, "key.enter"},
    {0x10, "key.shift"},
    {0x11, "key.ctrl"},
    {0x12, "key.alt"},
    {0x13, "key.pause"},
    {0x14, "key.caps_lock"},
    {0x15, "key.ime_kana"},
    {0x16, "key.ime_on"},
    {0x17, "key.ime_junja"},
    {0x18, "key.ime_final"},
    {0x19, "key.ime_kanji"},
    {0x1A, "key.ime_off"},
    {0x1B, "key.esc"},
    {0x1C, "key.ime_convert"},
    {0x1D, "key.ime_nonconvert"},
    {0x1E, "key.ime_accept"},
    {0x1F, "key.ime_mode_change"},
    {0x20, "key.space"},
    {0x21, "key.page_up"},
    {0x22, "key.page_down"},
    {0x23, "key.end"},
    {0x24, "key.home"},
    {0x25, "key.left_arrow"},
    {0x26, "key.up_arrow"},
    {0x27, "key.right_arrow"},
    {0x28, "key.down_arrow"},
    {0x29, "key.select"},
    {0x2A, "key.print"},
    {0x2B, "key.execute"},
    {0x2C, "key.print_screen"},
    {0x2D, "key.insert"},
    {0x2E, "key.delete"},
    {0x2F, "key.help"},
    {0x5B, "key.left_windows"},
    {0x5C, "key.right_windows"},
    {0x5D, "key.menu"},
    {0x5F, "key.sleep"},
    {0x6A, "key.numpad_multiply"},
    {0x6B, "key.numpad_add"},
    {0x6C, "key.numpad_separator"},
    {0x6D, "key.numpad_subtract"},
    {0x6E, "key.numpad_decimal"},
    {0x6F, "key.numpad_divide"},
    {0x90, "key.num_lock"},
    {0x91, "key.scroll_lock"},
    {0xA0, "key.left_shift"},
    {0xA1, "key.right_shift"},
    {0xA2, "key.left_ctrl"},
    {0xA3, "key.right_ctrl"},
    {0xA4, "key.left_alt"},
    {0xA5, "key.right_alt"},
    {0xA6, "key.browser_back"},
    {0xA7, "key.browser_forward"},
    {0xA8, "key.browser_refresh"},
    {0xA9, "key.browser_stop"},
    {0xAA, "key.browser_search"},
    {0xAB, "key.browser_favorites"},
    {0xAC, "key.browser_home"},
    {0xAD, "key.volume_mute"},
    {0xAE, "key.volume_down"},
    {0xAF, "key.volume_up"},
    {0xB0, "key.next_track"},
    {0xB1, "key.previous_track"},
    {0xB2, "key.stop_media"},
    {0xB3, "key.play_pause_media"},
    {0xB4, "key.start_mail"},
    {0xB5, "key.select_media"},
    {0xB6, "key.start_app_1"},
    {0xB7, "key.start_app_2"},
    {0xBA, "key.oem_1"},
    {0xBB, "key.oem_plus"},
    {0xBC, "key.oem_comma"},
    {0xBD, "key.oem_minus"},
    {0xBE, "key.oem_period"},
    {0xBF, "key.oem_2"},
    {0xC0, "key.oem_3"},
    {0xDB, "key.oem_4"},
    {0xDC, "key.oem_5"},
    {0xDD, "key.oem_6"},
    {0xDE, "key.oem_7"},
    {0xDF, "key.oem_8"},
    {0xE2, "key.oem_102"},
    {0xE5, "key.ime_process"},
    {0xE7, "key.packet"},
    {0xF6, "key.attn"},
    {0xF7, "key.crsel"},
    {0xF8, "key.exsel"},
    {0xF9, "key.erase_eof"},
    {0xFA, "key.play"},
    {0xFB, "key.zoom"},
    {0xFD, "key.pa1"},
    {0xFE, "key.oem_clear"},
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

// The key's name as `said` words it: in the player's language or in English.
using Saying = std::string (*)(std::string_view, std::initializer_list<i18n::Value>);

std::optional<std::string> nameSaid(std::uint32_t code, Saying said) {
  if (isLetterOrDigit(code)) {
    return std::string(1, static_cast<char>(code));
  }
  if (code >= firstFunctionKey && code <= lastFunctionKey) {
    std::string name(1, 'F');
    return name.append(std::to_string(code - firstFunctionKey + 1));
  }
  if (code >= firstNumberPadDigit && code <= lastNumberPadDigit) {
    return said("key.numpad", {{"number", std::to_string(code - firstNumberPadDigit)}});
  }
  for (const KeyMessage& named : namedKeys) {
    if (named.code == code) {
      return said(named.id, {});
    }
  }
  return std::nullopt;
}

// A key's name in the player's language or in English, or another spelling.
std::optional<std::uint32_t> codeSpelled(const std::string& spelling) {
  for (std::uint32_t code = 1; code < 255; ++code) {
    for (const Saying said : {Saying{i18n::say}, Saying{i18n::sayInEnglish}}) {
      const std::optional<std::string> name = nameSaid(code, said);
      if (name && spellingOf(*name) == spelling) {
        return code;
      }
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
  return nameSaid(code, i18n::say);
}

std::optional<std::string> englishKeyName(std::uint32_t code) {
  return nameSaid(code, i18n::sayInEnglish);
}

std::string describeKey(std::uint32_t code) {
  if (code >= 255) {
    return i18n::say("key.off");
  }
  return keyName(code).value_or(i18n::say("key.none"));
}

std::string spellingOf(std::string_view name) {
  std::string spelling = i18n::lowerCase(name);
  std::erase(spelling, ' ');
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
  const std::optional<std::string> name = keyName(code);
  const std::optional<std::string> english = englishKeyName(code);
  if (name && english && spellingOf(*name) != spellingOf(*english)) {
    names.push_back(*english);
  }
  for (const KeyName& other : otherSpellings) {
    if (other.code == code) {
      names.emplace_back(other.name);
    }
  }
  if (english && spellingOf(*english).starts_with(numberPadStem)) {
    names.push_back("Num " + english->substr(numberPadStem.size() + 1));
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
  if (isMouseButton(code)) {
    return i18n::say("keys.mouse_never_received", {{"key", *name}, {"code", std::to_string(code)}});
  }
  if (const std::optional<std::uint32_t> received = codeReceivedFor(code)) {
    return i18n::say("keys.side_never_received", {{"key", *name},
                                                  {"code", std::to_string(code)},
                                                  {"generic", *keyName(*received)},
                                                  {"received", std::to_string(*received)}});
  }
  return std::nullopt;
}

}  // namespace sashcaster::keys
