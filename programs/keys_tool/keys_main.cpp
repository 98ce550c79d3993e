// sashcaster-keys: sets the plug-in's keys by name, or by a key press when a
// player starts it from Explorer.
#include <iostream>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/utf8_path.h"
#include "i18n/messages.h"
#include "i18n/system_language.h"
#include "keys_tool/keys_command.h"
#include "keys_tool/keys_dialogue.h"

int main(int argc, char** argv) {
  using namespace sashcaster;
  const console::Utf8Output utf8;
  i18n::useLanguage(i18n::systemLanguage());
  std::vector<std::string> arguments = console::utf8Arguments(argc, argv);
  // --lang first, so that "--lang de" alone starts the dialogue in German.
  if (const std::string problem = i18n::takeLanguageOption(arguments); !problem.empty()) {
    std::cerr << "sashcaster-keys: " << problem << "\n";
    console::waitWhenConsoleIsOwn(std::cin, std::cout);
    return keys_tool::exitBadCommandLine;
  }
  if (console::consoleIsOwn() && keys_tool::startsDialogue(arguments)) {
    const std::string file = arguments.empty() ? "Sashcaster.ini" : arguments.front();
    return keys_tool::runDialogue(console::utf8Path(file), console::nextConsoleKey, std::cout);
  }
  const int status = keys_tool::runKeys(arguments, std::cout, std::cerr);
  console::waitWhenConsoleIsOwn(std::cin, std::cout);
  return status;
}
