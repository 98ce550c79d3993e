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

}  // namespace

void checkKeyClashes(Report& report) {
  const std::uint32_t trigger = codeOf(report, triggerIndex);
  for (std::size_t direction = 1; direction < settingsKeys.size(); ++direction) {
    const std::uint32_t code = codeOf(report, direction);
    if (code >= 255) {
      continue;
    }
    if (code == trigger) {
      report.findings.push_back(
          {lineOf(report, triggerIndex, direction),
           bothAre(report, triggerIndex, direction) + ": the " + throwDirections[direction] +
               " throw can never happen, as one key cannot be held down while it is released "
               "as the trigger. Give them different keys, such as with " +
               setKeyCommand(direction) + "."});
      continue;
    }
    for (std::size_t earlier = 1; earlier < direction; ++earlier) {
      if (codeOf(report, earlier) == code) {
        report.findings.push_back(
            {lineOf(report, earlier, direction),
             bothAre(report, earlier, direction) + ": that key throws to the " +
                 throwDirections[earlier] + " only, so the " + throwDirections[direction] +
                 " throw can never happen. Give each direction its own key, such as with " +
                 setKeyCommand(direction) + "."});
        break;
      }
    }
  }
}

}  // namespace sashcaster::check
