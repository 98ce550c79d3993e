// What a player writes to name one of the five keys and the key to give it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sashcaster::keys_tool {

// The code written for a throw switched off.
inline constexpr std::uint32_t offCode = 255;

// The index in settingsKeys of a setting written by its name in the file
// ("iXKey") or as trigger, front, left, right or back; letter case ignored.
std::optional<std::size_t> settingIndex(std::string_view name);

// "the trigger key", "the front throw's key"...
std::string settingLabel(std::size_t index);

// A key's code, or why the text names no key the plug-in can use and the
// names nearest to it.
struct KeyChoice {
  std::optional<std::uint32_t> code;
  std::string problem;
  std::vector<std::string> nearest;
};

// A key written by the name the settings check shows ("Z", "Left arrow",
// "numpad 2"; a single digit is that digit's key) or another common spelling
// ("Escape", "PgUp", "Num 2"), by its decimal code, or "off" or "-1". Codes
// the plug-in never receives and codes of no key are refused.
KeyChoice chooseKey(const std::string& text);

// A few names of usable keys nearest to a name that is none: those it begins
// and those a slip or two away; none when no name is that near.
std::vector<std::string> nearestKeyNames(const std::string& text);

// Why the plug-in cannot use the key of this code; none when it can.
std::optional<std::string> unusableKey(std::uint32_t code);

// Every key the plug-in can use, one a line in code order, with its code and
// other spellings, as --list prints them.
std::string keyList();

// The settings' names, as the command line takes them.
std::string settingNames();

}  // namespace sashcaster::keys_tool
