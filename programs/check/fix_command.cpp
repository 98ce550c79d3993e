#include "check/fix_command.h"

#include <cctype>

#include "check/report.h"
#include "i18n/messages.h"
#include "keys/key_names.h"

namespace sashcaster::check {

namespace {

// The key fix.any_key names as an example: Left arrow.
constexpr std::uint32_t exampleKey = 0x25;

// Letters, digits and spaces pass every console unchanged between quotes.
bool safeOnCommandLine(const std::string& name) {
  for (const char c : name) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != ' ') {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* settingWord(std::size_t index) {
  return index == triggerIndex ? "trigger" : throwDirections.at(index);
}

std::string settingMessage(std::size_t index, std::string_view part) {
  return i18n::say(std::string("setting.") + settingWord(index) + "." + std::string(part));
}

std::string setKeyCommand(std::size_t index, std::optional<std::uint32_t> code) {
  if (!code) {
    return i18n::say("fix.any_key", {{"program", keysProgram},
                                     {"setting", settingWord(index)},
                                     {"example", *keys::keyName(exampleKey)}});
  }
  const std::string start = std::string(keysProgram) + " " + settingWord(index) + "=";
  // The name in the player's language where it passes the console, else in
  // English, which the keys tool takes in every language.
  std::optional<std::string> name = keys::keyName(*code);
  if (name && !safeOnCommandLine(*name)) {
    name = keys::englishKeyName(*code);
  }
  if (!name || !safeOnCommandLine(*name)) {
    return start + std::to_string(*code);
  }
  return start + (name->find(' ') == std::string::npos ? *name : '"' + *name + '"');
}

}  // namespace sashcaster::check
