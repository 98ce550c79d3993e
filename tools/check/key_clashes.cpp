// Findings about the five codes together: keys that keep a throw from ever
// happening, whatever the file's lines look like.
#include <string>

#include "check/fix_command.h"
#include "check/report.h"
#include "config/settings_keys.h"

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

std::string bothAre(const Report& report, std::size_t first, std::size_t second) {
  const std::uint32_t code = codeOf(report, first);
  return std::string(settingsKeys[first].name) + " and " + settingsKeys[second].name +
         " are both " + codeAndKey(code);
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

std::string keyWord(std::size_t index) {
  return index == triggerIndex ? "the trigger"
                               : std::string("the ") + throwDirections[index] + " throw";
}

// A clash of a key just set and another: at the line just written, naming
// the key just set, whose fix the player wants.
Remark clashWithKeyJustSet(const Report& report, std::size_t set, std::size_t other,
                           const std::string& consequence) {
  const std::uint32_t code = codeOf(report, set);
  const std::optional<std::size_t> line = report.fromLine[set] && report.winner[set]
                                              ? std::optional(report.winner[set]->line)
                                              : std::nullopt;
  return {line, std::string(settingsKeys[set].name) + " is now " + codeAndKey(code) +
                    ", which is already " + keyWord(other) + "'s key (" + settingsKeys[other].name +
                    "): " + consequence + " Give " + keyWord(set) + " another key, such as with " +
                    setKeyCommand(set) + "."};
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
      const std::string consequence =
          std::string("the ") + throwDirections[direction] +
          " throw can never happen, as one key cannot be held down while it is released as the "
          "trigger.";
      if (const std::optional<std::size_t> set = keyJustSet(report, triggerIndex, direction)) {
        report.findings.push_back(clashWithKeyJustSet(
            report, *set, *set == triggerIndex ? direction : triggerIndex, consequence));
        continue;
      }
      report.findings.push_back({lineOf(report, triggerIndex, direction),
                                 bothAre(report, triggerIndex, direction) + ": " + consequence +
                                     " Give them different keys, such as with " +
                                     setKeyCommand(direction) + "."});
      continue;
    }
    for (std::size_t earlier = 1; earlier < direction; ++earlier) {
      if (codeOf(report, earlier) == code) {
        const std::string consequence = std::string("that key throws to the ") +
                                        throwDirections[earlier] + " only, so the " +
                                        throwDirections[direction] + " throw can never happen.";
        if (const std::optional<std::size_t> set = keyJustSet(report, earlier, direction)) {
          report.findings.push_back(clashWithKeyJustSet(
              report, *set, *set == earlier ? direction : earlier, consequence));
          break;
        }
        report.findings.push_back({lineOf(report, earlier, direction),
                                   bothAre(report, earlier, direction) + ": " + consequence +
                                       " Give each direction its own key, such as with " +
                                       setKeyCommand(direction) + "."});
        break;
      }
    }
  }
}

}  // namespace sashcaster::check
