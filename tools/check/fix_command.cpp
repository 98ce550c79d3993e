#include "check/fix_command.h"

#include <cctype>

#include "check/report.h"
#include "keys/key_names.h"

namespace sashcaster::check {

namespace {

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

std::string setKeyCommand(std::size_t index, std::optional<std::uint32_t> code) {
  const std::string start = std::string(keysProgram) + " " + settingWord(index) + "=";
  if (!code) {
    return start + "KEY, KEY the key's name (such as Z, F5 or \"Left arrow\")";
  }
  const std::optional<std::string> name = keys::keyName(*code);
  if (!name || !safeOnCommandLine(*name)) {
    return start + std::to_string(*code);
  }
  return start + (name->find(' ') == std::string::npos ? *name : '"' + *name + '"');
}

}  // namespace sashcaster::check
