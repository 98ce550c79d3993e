#include "keys_tool/key_choice.h"

#include <algorithm>
#include <cctype>

#include "check/near_miss.h"
#include "check/report.h"
#include "config/settings_keys.h"
#include "keys/key_names.h"

namespace sashcaster::keys_tool {

namespace {

constexpr std::uint32_t largestCode = 2147483647;

std::string_view shortName(std::size_t index) {
  return index == check::triggerIndex ? "trigger" : check::throwDirections[index];
}

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The decimal code written, when it fits the plug-in's range.
std::optional<std::uint32_t> decimalCode(std::string_view text) {
  if (!allDigits(text) || text.size() > 10) {
    return std::nullopt;
  }
  const std::uint64_t value = std::stoull(std::string(text));
  return value <= largestCode ? std::optional(static_cast<std::uint32_t>(value)) : std::nullopt;
}

}  // namespace

std::optional<std::size_t> settingIndex(std::string_view name) {
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    if (check::sameIgnoringCase(name, settingsKeys[index].name) ||
        check::sameIgnoringCase(name, shortName(index))) {
      return index;
    }
  }
  return std::nullopt;
}

std::string settingLabel(std::size_t index) {
  return index == check::triggerIndex ? "the trigger key"
                                      : "the " + std::string(shortName(index)) + " throw's key";
}

std::optional<std::string> unusableKey(std::uint32_t code) {
  if (code >= 255) {
    return std::nullopt;
  }
  if (const std::optional<std::string> why = keys::whyNeverReceived(code)) {
    return *why + ".";
  }
  if (!keys::keyName(code)) {
    return "no key sends the code " + std::to_string(code) + ".";
  }
  return std::nullopt;
}

KeyChoice chooseKey(const std::string& text) {
  if (check::sameIgnoringCase(text, "off")) {
    return {offCode, ""};
  }
  std::optional<std::uint32_t> code = keys::keyCode(text);
  if (!code) {
    code = decimalCode(text);
  }
  if (!code) {
    return {std::nullopt,
            check::inQuotes(text) + " is no key name and no code from 1 to 2147483647."};
  }
  if (const std::optional<std::string> problem = unusableKey(*code)) {
    return {std::nullopt, *problem};
  }
  return {code, ""};
}

std::string usableKeyNames() {
  std::string names;
  for (std::uint32_t code = 1; code < 255; ++code) {
    const std::optional<std::string> name = keys::keyName(code);
    if (name && !unusableKey(code)) {
      names += (names.empty() ? "" : ", ") + *name;
    }
  }
  return names;
}

std::string settingNames() {
  std::string names;
  for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
    names += (names.empty() ? "" : ", ") + std::string(shortName(index)) + " (" +
             settingsKeys[index].name + ")";
  }
  return names;
}

}  // namespace sashcaster::keys_tool
