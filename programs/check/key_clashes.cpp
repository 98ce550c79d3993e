// Findings about the five codes together: keys that keep a throw from ever
// happening, whatever the file's lines look like.
#include <string>

#include "check/fix_command.h"
#include "check/report.h"
#include "config/settings_keys.h"
#include "i18n/messages.h"

namespace sashcaster::check {

namespace {

std::uint32_t codeOf(const Report& report, std::size_t index) {
  return report.loaded.*settingsKeys[index].field;
}

// The later of the two keys' lines in the file, if either comes from one.
std::optional<std::size_t> lineOf(const Report& report, std::size_t first, std::size_t second) {
  for (const std::size_t index : {second, first}) {
    if (report.fromLine[index] && report.winner[index]) {
      return report.winner[index]->line;
    }
  }
  return std::nullopt;
}

bool justSet(const Report& report, std::size_t index) {
  return (report.justSet & keyBit(index)) != 0;
}

// The one of the two keys the player has just set, if only one was.
std::optional<std::size_t> keyJustSet(const Report& report, std::size_t first, std::size_t second) {
  if (justSet(report, first) == justSet(report, second)) {
    return std::nullopt;
  }
  return justSet(report, first) ? first : second;
}

// A clash of a key just set and another: at the line just written, naming
// the key just set, whose fix the player wants.
Remark clashWithKeyJustSet(const Report& report, std::size_t set, std::size_t other,
                           const std::string& consequence) {
  const std::optional<std::size_t> line = report.fromLine[set] && report.winner[set]
                                              ? std::optional(report.winner[set]->line)
                                              : std::nullopt;
  return {line, i18n::say("clash.just_set", {{"key", settingsKeys[set].name},
                                             {"code", codeAndKey(codeOf(report, set))},
                                             {"owner_key", settingMessage(other, "owner_key")},
                                             {"other_key", settingsKeys[other].name},
                                             {"consequence", consequence},
                                             {"name", settingMessage(set, "name")},
                                             {"command", setKeyCommand(set)}})};
}

// Two keys on one code, neither of them just set.
Remark clashOfBoth(const Report& report, std::size_t first, std::size_t second, const char* message,
                   const std::string& consequence) {
  return {lineOf(report, first, second),
          i18n::say(message, {{"first", settingsKeys[first].name},
                              {"second", settingsKeys[second].name},
                              {"code", codeAndKey(codeOf(report, first))},
                              {"consequence", consequence},
                              {"command", setKeyCommand(second)}})};
}

// A direction on the trigger's key: that throw never happens.
void clashWithTrigger(Report& report, std::size_t direction) {
  const std::string consequence =
      i18n::say("clash.trigger", {{"throw", settingMessage(direction, "name")}});
  if (const std::optional<std::size_t> set = keyJustSet(report, triggerIndex, direction)) {
    report.findings.push_back(clashWithKeyJustSet(
        report, *set, *set == triggerIndex ? direction : triggerIndex, consequence));
    return;
  }
  report.findings.push_back(
      clashOfBoth(report, triggerIndex, direction, "clash.both_trigger", consequence));
}

// Two directions on one key: the later one never happens.
void clashOfDirections(Report& report, std::size_t earlier, std::size_t direction) {
  const std::string consequence =
      i18n::say("clash.direction",
                {{"towards", i18n::say(std::string("towards.") + throwDirections[earlier])},
                 {"throw", settingMessage(direction, "name")}});
  if (const std::optional<std::size_t> set = keyJustSet(report, earlier, direction)) {
    report.findings.push_back(
        clashWithKeyJustSet(report, *set, *set == earlier ? direction : earlier, consequence));
    return;
  }
  report.findings.push_back(
      clashOfBoth(report, earlier, direction, "clash.both_directions", consequence));
}

}  // namespace

void checkKeyClashes(Report& report) {
  const std::uint32_t trigger = codeOf(report, triggerIndex);
  for (std::size_t direction = 1; direction < settingsKeys.size(); ++direction) {
    const std::uint32_t code = codeOf(report, direction);
    if (code >= 255) {
      continue;
    }
    if (code == trigger) {
      clashWithTrigger(report, direction);
      continue;
    }
    for (std::size_t earlier = 1; earlier < direction; ++earlier) {
      if (codeOf(report, earlier) == code) {
        clashOfDirections(report, earlier, direction);
        break;
      }
    }
  }
}

}  // namespace sashcaster::check
