#include "scenario.h"

#include <array>
#include <optional>
#include <sstream>

#include "config/settings_keys.h"
#include "fake_host/game_model.h"
#include "fake_host/native_call.h"
#include "keys/control_names.h"
#include "keys/key_names.h"

namespace sashcaster::scenario {

namespace {

// The scenarios' short words for the controls of keys::controlNames, in its
// order: trigger, front, left, right, back.
constexpr std::array<const char*, 5> controlWords{"trigger", "front-hold", "left", "right", "back"};

// The throws' words are the game's, so that a scenario holds the plug-in to
// the game's names rather than to its own.
using model::GameThrow;
using model::gameThrows;

std::vector<std::string> words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> result;
  for (std::string word; stream >> word;) {
    result.push_back(word);
  }
  return result;
}

// A decimal or 0x-prefixed hexadecimal number that fits 32 bits, whole.
bool parseNumber(const std::string& word, std::uint32_t& value) {
  const bool isHex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
  const std::string digits = isHex ? word.substr(2) : word;
  if (digits.empty() || digits.size() > (isHex ? 8U : 10U)) {
    return false;
  }
  std::uint64_t number = 0;
  for (char c : digits) {
    std::uint64_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint64_t>(c - '0');
    } else if (isHex && c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint64_t>(c - 'a') + 10;
    } else if (isHex && c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint64_t>(c - 'A') + 10;
    } else {
      return false;
    }
    number = number * (isHex ? 16U : 10U) + digit;
  }
  if (number > 0xFFFFFFFFU) {
    return false;
  }
  value = static_cast<std::uint32_t>(number);
  return true;
}

// One letter or digit is its own virtual-key code; a setting's name is its
// built-in key, so that a scenario of the built-in keys follows a new default;
// anything else is a code.
bool parseKey(const std::string& word, std::uint32_t& key) {
  for (const SettingsKey& setting : settingsKeys) {
    if (word == setting.name) {
      key = Settings{}.*setting.field;
      return true;
    }
  }
  if (word.size() == 1) {
    const char c = word[0];
    if (c >= 'a' && c <= 'z') {
      key = static_cast<std::uint32_t>(c - 'a' + 'A');
      return true;
    }
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      key = static_cast<unsigned char>(c);
      return true;
    }
  }
  return parseNumber(word, key);
}

// A scenario's word for a control, the game's name of it in either letter
// case (INPUT_FRONTEND_NAV_LEFT), or its hash.
bool parseControl(const std::string& word, std::uint32_t& control) {
  for (std::size_t i = 0; i < controlWords.size(); ++i) {
    if (word == controlWords.at(i)) {
      control = keys::controlNames.at(i).hash;
      return true;
    }
  }
  if (const std::optional<std::uint32_t> hash = keys::controlHash(word)) {
    control = *hash;
    return true;
  }
  return parseNumber(word, control);
}

bool isNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The words after the verb, quoted, for the end of an error message.
std::string got(const std::vector<std::string>& w) {
  if (w.size() < 2) {
    return ", got \"" + w[0] + "\" alone";
  }
  std::string found = w[1];
  for (std::size_t i = 2; i < w.size(); ++i) {
    found += " " + w[i];
  }
  return ", got \"" + found + "\"";
}

// Parses one scenario line at a time; the settings block spans lines.
class Parser {
 public:
  Parser(const std::string& file, Scenario& scenario, ParseError& error)
      : file_(file), scenario_(scenario), error_(error) {}

  bool parse(const std::string& text) {
    std::istringstream stream(text);
    std::string line;
    std::size_t number = 0;
    while (std::getline(stream, line)) {
      ++number;
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      if (inSettings_) {
        if (words(line) == std::vector<std::string>{"end"}) {
          inSettings_ = false;
          scenario_.events.push_back(settings_);
        } else {
          settings_.text += line + "\r\n";
        }
        continue;
      }
      if (!parseLine(number, line)) {
        return false;
      }
    }
    if (inSettings_) {
      return fail(settings_.line, "expected a line \"end\" to close the settings block");
    }
    return true;
  }

 private:
  bool fail(std::size_t line, const std::string& message) {
    error_ = {file_, line, message};
    return false;
  }

  using Words = std::vector<std::string>;
  // Each parses the line of its verb into the event and adds it; false, with
  // the error filled, for a line it cannot understand.
  using VerbParser = bool (Parser::*)(const Words& w, Event& event);

  struct Verb {
    const char* word;
    VerbParser parse;
  };

  bool parseLine(std::size_t line, const std::string& text) {
    const Words w = words(text);
    if (w.empty() || w[0][0] == '#') {
      return true;
    }
    static constexpr Verb verbs[] = {
        {"start", &Parser::parseTime},        {"wait", &Parser::parseTime},
        {"down", &Parser::parseKeyEvent},     {"up", &Parser::parseKeyEvent},
        {"style", &Parser::parseStyle},       {"pressed", &Parser::parseControls},
        {"released", &Parser::parseControls}, {"disabled", &Parser::parseControls},
        {"settings", &Parser::parseSettings}, {"turn", &Parser::parseTurns},
        {"turns", &Parser::parseTurns},       {"expect", &Parser::parseExpect},
    };
    Event event;
    event.line = line;
    for (const Verb& verb : verbs) {
      if (w[0] == verb.word) {
        return (this->*verb.parse)(w, event);
      }
    }
    return fail(line,
                "expected an event (start, wait, down, up, style, pressed, released, "
                "disabled, settings, turn, expect), got \"" +
                    w[0] + "\"");
  }

  bool add(const Event& event) {
    scenario_.events.push_back(event);
    return true;
  }

  bool parseTime(const Words& w, Event& event) {
    const std::string& verb = w[0];
    if (w.size() != 2 || !parseNumber(w[1], event.number)) {
      return fail(event.line, "expected \"" + verb + "\" and a number of milliseconds" + got(w));
    }
    if (verb == "start" && !scenario_.events.empty()) {
      return fail(event.line, "expected \"start\" before every other event");
    }
    event.kind = verb == "start" ? EventKind::Start : EventKind::Wait;
    return add(event);
  }

  bool parseKeyEvent(const Words& w, Event& event) {
    const std::string& verb = w[0];
    if (w.size() != 2 || !parseKey(w[1], event.number)) {
      return fail(event.line, "expected \"" + verb +
                                  "\" and one key: a letter, a digit, a virtual-key code such "
                                  "as 88 or 0x58, or a setting's name for its built-in key "
                                  "(iXKey)" +
                                  got(w));
    }
    event.kind = verb == "down" ? EventKind::KeyDown : EventKind::KeyUp;
    return add(event);
  }

  bool parseStyle(const Words& w, Event& event) {
    if (w.size() != 2) {
      return fail(event.line,
                  "expected \"style\" and one grapple style name, or \"none\"" + got(w));
    }
    for (char c : w[1]) {
      if (!isNameCharacter(c)) {
        return fail(event.line,
                    "expected a grapple style name of letters, digits and '_'" + got(w));
      }
    }
    event.kind = EventKind::Style;
    event.name = w[1] == "none" ? "" : w[1];
    return add(event);
  }

  bool parseControls(const Words& w, Event& event) {
    if (w.size() - 1 > model::maxControls) {
      return fail(event.line,
                  "expected at most " + std::to_string(model::maxControls) + " controls");
    }
    for (std::size_t i = 1; i < w.size(); ++i) {
      std::uint32_t control = 0;
      if (!parseControl(w[i], control)) {
        return fail(event.line,
                    "expected a control (front-hold, trigger, left, right, back, a game "
                    "name such as INPUT_FRONTEND_NAV_LEFT, or a hash such as 0x1ECA87D4), "
                    "got \"" +
                        w[i] + "\"");
      }
      event.values.push_back(control);
    }
    event.kind = w[0] == "pressed"    ? EventKind::Pressed
                 : w[0] == "released" ? EventKind::JustReleased
                                      : EventKind::DisabledPressed;
    return add(event);
  }

  bool parseSettings(const Words& w, Event& event) {
    if (w.size() == 1) {
      inSettings_ = true;
      settings_ = event;
      settings_.kind = EventKind::SettingsWrite;
      return true;
    }
    if (w.size() != 2 || w[1] != "removed") {
      return fail(event.line,
                  "expected \"settings\" alone (its lines follow, up to \"end\") or "
                  "\"settings removed\"" +
                      got(w));
    }
    event.kind = EventKind::SettingsRemove;
    return add(event);
  }

  bool parseTurns(const Words& w, Event& event) {
    event.number = 1;
    if (w.size() > 2 || (w.size() == 2 && (!parseNumber(w[1], event.number) || event.number == 0 ||
                                           event.number > 100000))) {
      return fail(event.line, "expected \"turn\" alone or with a count from 1 to 100000" + got(w));
    }
    event.kind = EventKind::Turns;
    seenTurn_ = true;
    return add(event);
  }

  bool parseExpect(const Words& w, Event& event) {
    if (!seenTurn_) {
      return fail(event.line, "expected a \"turn\" line before the first \"expect\"");
    }
    event.kind = EventKind::Expect;
    if (w.size() == 2 && w[1] == "nothing") {
      return add(event);
    }
    if (w.size() == 1) {
      return fail(event.line,
                  "expected \"expect nothing\" or the throws: front, left, right, back" + got(w));
    }
    for (std::size_t i = 1; i < w.size(); ++i) {
      const GameThrow* found = nullptr;
      for (const GameThrow& named : gameThrows) {
        if (w[i] == named.word) {
          found = &named;
        }
      }
      if (found == nullptr) {
        return fail(event.line,
                    "expected a throw (front, left, right, back), got \"" + w[i] + "\"");
      }
      event.values.push_back(model::nameHash(found->action));
      event.valueNames.push_back(found->word);
    }
    return add(event);
  }

  const std::string& file_;
  Scenario& scenario_;
  ParseError& error_;
  bool inSettings_ = false;
  bool seenTurn_ = false;
  Event settings_;
};

}  // namespace

std::string ParseError::describe() const {
  return file + ":" + std::to_string(line) + ": " + message;
}

bool parseScenario(const std::string& file, const std::string& text, Scenario& scenario,
                   ParseError& error) {
  scenario = Scenario{file, {}, {}, {}};
  return Parser(file, scenario, error).parse(text);
}

std::string keyName(std::uint32_t key) {
  return keys::keyName(key).value_or("key " + std::to_string(key));
}

std::string controlName(std::uint32_t control) {
  return keys::findControl(control) != nullptr ? keys::describeControl(control)
                                               : "control " + model::hex32(control);
}

std::string actionName(std::uint32_t actionHash) {
  for (const GameThrow& named : gameThrows) {
    if (model::nameHash(named.action) == actionHash) {
      return named.action;
    }
  }
  return "action " + model::hex32(actionHash);
}

std::string hashName(std::uint32_t hash, const std::string& style) {
  if (keys::findControl(hash) != nullptr) {
    return keys::describeControl(hash);
  }
  for (const GameThrow& named : gameThrows) {
    if (model::nameHash(named.action) == hash) {
      return named.action;
    }
  }
  return !style.empty() && model::nameHash(style.c_str()) == hash ? style : "";
}

const char defaultScenarioText[] =
    R"(# The player grapples face to face, holds the built-in front key and taps the
# built-in trigger: a front throw.
style GS_FACE_TO_FACE
down iWindowThrowFront
wait 250
down iXKey
wait 60
up iXKey
wait 16
turn
expect front
# The release is spent: the next turn throws nothing.
wait 16
turn
expect nothing
up iWindowThrowFront
# Then, on the controller, the throw control held with left: a left throw.
wait 500
pressed trigger left
wait 16
turn
expect left
pressed
wait 16
turn
expect nothing
)";

}  // namespace sashcaster::scenario
