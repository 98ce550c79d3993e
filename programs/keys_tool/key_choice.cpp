#include "keys_tool/key_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "check/fix_command.h"
#include "check/near_miss.h"
#include "check/report.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"
#include "keys/key_names.h"

namespace sashcaster::keys_tool {

namespace {

constexpr std::uint32_t largestCode = 2147483647;

// Words that switch a throw off, besides key.off's word in the player's language.
constexpr std::array<std::string_view, 2> offWords{"off", "-1"};

// Suggestions: at most this many, this many slips away at most.
constexpr std::size_t mostSuggestions = 3;
constexpr std::size_t mostSuggestionSlips = 2;

std::string_view shortName(std::size_t index) {
  return check::settingWord(index);
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
  return check::settingMessage(index, "label");
}

std::optional<std::string> unusableKey(std::uint32_t code) {
  if (code >= 255) {
    return std::nullopt;
  }
  if (const std::optional<std::string> why = keys::whyNeverReceived(code)) {
    return *why + ".";
  }
  if (!keys::keyName(code)) {
    return i18n::say("keys.no_key_sends", {{"code", std::to_string(code)}});
  }
  return std::nullopt;
}

KeyChoice chooseKey(const std::string& text) {
  const std::string spelling = keys::spellingOf(text);
  if (std::find(offWords.begin(), offWords.end(), spelling) != offWords.end() ||
      spelling == keys::spellingOf(i18n::say("key.off"))) {
    return {offCode, "", {}};
  }
  std::optional<std::uint32_t> code = keys::keyCode(text);
  if (!code) {
    code = decimalCode(text);
  }
  if (!code) {
    return {std::nullopt, i18n::say("keys.no_key_name", {{"text", check::printable(text)}}),
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
  std::string list = i18n::say("keys.list_letters") + "\n";
  for (std::uint32_t code = 1; code < 255; ++code) {
    if (!usable(code) || (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
      continue;
    }
    const std::vector<std::string> spellings = spellingsOf(code);
    std::string others;
    for (std::size_t i = 1; i < spellings.size(); ++i) {
      others += (i == 1 ? "" : ", ") + spellings[i];
    }
    const std::string number = std::to_string(code);
    list += (others.empty()
                 ? spellings.front() + " (" + number + ")"
                 : i18n::say("keys.list_also",
                             {{"name", spellings.front()}, {"code", number}, {"others", others}})) +
            "\n";
  }
  return list + i18n::say("keys.list_off") + "\n";
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
