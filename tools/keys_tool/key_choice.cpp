#include "keys_tool/key_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "check/near_miss.h"
#include "check/report.h"
#include "config/settings_keys.h"
#include "keys/key_names.h"

namespace sashcaster::keys_tool {

namespace {

constexpr std::uint32_t largestCode = 2147483647;

// Words that switch a throw off.
constexpr std::array<std::string_view, 2> offWords{"off", "-1"};

// Suggestions: at most this many, this many slips away at most.
constexpr std::size_t mostSuggestions = 3;
constexpr std::size_t mostSuggestionSlips = 2;

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

std::vector<std::string> spellingsOf(std::uint32_t code) {
  std::vector<std::string> spellings = keys::otherNamesOf(code);
  spellings.insert(spellings.begin(), *keys::keyName(code));
  return spellings;
}

// 0 for a name the text begins, else the slips between them; npos when the
// slips would replace most of the name (a lone letter is no suggestion for "Lft").
std::size_t distanceTo(const std::string& spelling, std::uint32_t code) {
  std::size_t nearest = std::string::npos;
  for (const std::string& name : spellingsOf(code)) {
    const std::string candidate = keys::spellingOf(name);
    const std::size_t slips =
        candidate.starts_with(spelling) ? 0 : check::editDistance(spelling, candidate);
    if (slips < std::min(candidate.size(), spelling.size()) || slips == 0) {
      nearest = std::min(nearest, slips);
    }
  }
  return nearest;
}

bool usable(std::uint32_t code) {
  return keys::keyName(code) && !unusableKey(code);
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
  const std::string spelling = keys::spellingOf(text);
  if (std::find(offWords.begin(), offWords.end(), spelling) != offWords.end()) {
    return {offCode, "", {}};
  }
  std::optional<std::uint32_t> code = keys::keyCode(text);
  if (!code) {
    code = decimalCode(text);
  }
  if (!code) {
    return {std::nullopt,
            check::inQuotes(text) + " is no key name and no code from 1 to 2147483647.",
            nearestKeyNames(text)};
  }
  if (const std::optional<std::string> problem = unusableKey(*code)) {
    return {std::nullopt, *problem, {}};
  }
  return {code, "", {}};
}

std::vector<std::string> nearestKeyNames(const std::string& text) {
  const std::string spelling = keys::spellingOf(text);
  std::vector<std::pair<std::size_t, std::uint32_t>> near;
  for (std::uint32_t code = 1; code < 255 && !spelling.empty(); ++code) {
    const std::size_t distance = usable(code) ? distanceTo(spelling, code) : std::string::npos;
    if (distance <= mostSuggestionSlips) {
      near.emplace_back(distance, code);
    }
  }
  std::stable_sort(near.begin(), near.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // Names the text begins say more than names a slip away.
  const std::size_t best = near.empty() ? 0 : near.front().first;
  std::erase_if(near, [best](const auto& entry) { return entry.first > best; });
  std::vector<std::string> names;
  for (std::size_t i = 0; i < near.size() && i < mostSuggestions; ++i) {
    names.push_back(*keys::keyName(near[i].second));
  }
  return names;
}

std::string keyList() {
  std::string list = "A to Z (65 to 90), 0 to 9 (48 to 57): the letter and digit keys\n";
  for (std::uint32_t code = 1; code < 255; ++code) {
    if (!usable(code) || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
      continue;
    }
    const std::vector<std::string> spellings = spellingsOf(code);
    list += spellings.front() + " (" + std::to_string(code) + ")";
    for (std::size_t i = 1; i < spellings.size(); ++i) {
      list += (i == 1 ? ", also " : ", ") + spellings[i];
    }
    list += "\n";
  }
  return list + "off, or -1: switches that throw off (written as 255)\n";
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
