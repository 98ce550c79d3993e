#include "keys_scenario.h"

#include <cstdint>
#include <filesystem>
#include <optional>

#include "check/check_command.h"
#include "check/report.h"
#include "config/settings_keys.h"
#include "fake_host/game_model.h"
#include "keys/key_names.h"

namespace sashcaster::scenario {

namespace {

// Scenario text with the number of its last line.
struct ScenarioText {
  std::string text;
  std::size_t lines = 0;

  std::size_t add(const std::string& line) {
    text += line + "\n";
    return ++lines;
  }
};

class KeysScenario {
 public:
  explicit KeysScenario(const check::Report& report) : report_(report) {}

  void build() {
    // The name alone: the wine driver sees the same file under another path.
    preface_.push_back("Keys as the plug-in loads them from " + report_.file.filename().string() +
                       ":");
    for (std::size_t index = 0; index < settingsKeys.size(); ++index) {
      preface_.push_back("  " + keyLine(index));
    }
    text_.add(std::string("style ") + model::faceToFaceStyleName);
    for (std::size_t direction = 1; direction < settingsKeys.size(); ++direction) {
      keyboardThrow(direction);
    }
    preface_.push_back(check::controllerLine());
    text_.add("# The controller: the throw control held with left.");
    for (const char* line :
         {"pressed trigger left", "wait 16", "turn", "expect left", "pressed", "wait 16"}) {
      text_.add(line);
    }
  }

  std::string text() const { return text_.text; }
  std::vector<std::string> preface() const { return preface_; }
  std::map<std::size_t, std::string> notes() const { return notes_; }

 private:
  std::uint32_t code(std::size_t index) const { return report_.loaded.*settingsKeys[index].field; }

  std::string keyLine(std::size_t index) const {
    return std::string(settingsKeys[index].name) + " = " + std::to_string(code(index)) + " (" +
           keys::describeKey(code(index)) + "), " + report_.origin[index];
  }

  void keyboardThrow(std::size_t direction) {
    const std::string name = check::throwDirections[direction];
    const std::uint32_t key = code(direction);
    const std::uint32_t trigger = code(check::triggerIndex);
    if (trigger >= 255 || key >= 255) {
      preface_.push_back("The " + name + " throw on the keyboard is not played: " +
                         settingsKeys[trigger >= 255 ? check::triggerIndex : direction].name +
                         " is 255 or more, which switches it off.");
      return;
    }
    text_.add("# The " + name + " throw on the keyboard.");
    const std::optional<std::string> broken = brokenKey(direction);
    const bool pressable = !broken && keys::keyName(key) && keys::keyName(trigger);
    if (pressable) {
      for (const std::string& line : {"down " + std::to_string(key), std::string("wait 250"),
                                      "down " + std::to_string(trigger), std::string("wait 60"),
                                      "up " + std::to_string(trigger), std::string("wait 16")}) {
        text_.add(line);
      }
    }
    text_.add("turn");
    notes_[text_.add("expect " + name)] = broken ? *broken : whyItMayFail(direction, pressable);
    if (pressable) {
      text_.add("up " + std::to_string(key));
      text_.add("wait 500");
    }
  }

  // The throw cannot be made as the file means it when the file's line for
  // its direction or trigger key does not load as written.
  std::optional<std::string> brokenKey(std::size_t direction) const {
    for (const std::size_t index : {direction, check::triggerIndex}) {
      for (const check::Remark& finding : report_.findings) {
        if ((finding.keys & check::keyBit(index)) != 0) {
          return keyLine(index) + "; " +
                 (finding.line ? "line " + std::to_string(*finding.line) + ": " : "") +
                 finding.text;
        }
      }
    }
    return std::nullopt;
  }

  std::string whyItMayFail(std::size_t direction, bool pressable) const {
    if (!pressable) {
      const std::size_t noKey = keys::keyName(code(direction)) ? check::triggerIndex : direction;
      return keyLine(noKey) + "; no key sends that code, so this throw cannot be made";
    }
    std::string why = "played with " + keyLine(direction) + "; and " + keyLine(check::triggerIndex);
    if (code(direction) == code(check::triggerIndex)) {
      return why + "; one key cannot be held down while it is released as the trigger";
    }
    for (std::size_t earlier = 1; earlier < direction; ++earlier) {
      if (code(earlier) == code(direction)) {
        return why + "; " + settingsKeys[earlier].name + " has that key too, and the " +
               check::throwDirections[earlier] + " throw is tried first";
      }
    }
    return why;
  }

  const check::Report& report_;
  ScenarioText text_;
  std::vector<std::string> preface_;
  std::map<std::size_t, std::string> notes_;
};

}  // namespace

bool scenarioFromSettingsFile(const std::string& iniFile, Scenario& scenario, std::string& error) {
  const check::Report report = check::checkSettingsFile(iniFile);
  KeysScenario keys(report);
  keys.build();
  ParseError parseError;
  const std::string name = std::filesystem::path(iniFile).filename().string();
  if (!parseScenario("(scenario from the keys of " + name + ")", keys.text(), scenario,
                     parseError)) {
    error = parseError.describe();
    return false;
  }
  scenario.preface = keys.preface();
  scenario.failureNotes = keys.notes();
  return true;
}

}  // namespace sashcaster::scenario
