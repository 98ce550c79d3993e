// sashcaster-keys: sets the plug-in's keys by name, or by a key press when a
// player starts it from Explorer.
#include <iostream>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/utf8_path.h"
#include "keys_tool/keys_command.h"
#include "keys_tool/keys_dialogue.h"

int main(int argc, char** argv) {
  using namespace sashcaster;
  const console::Utf8Output utf8;
  const std::vector<std::string> arguments = console::utf8Arguments(argc, argv);
  if (console::consoleIsOwn() && keys_tool::startsDialogue(arguments)) {
    const std::string file = arguments.empty() ? "Sashcaster.ini" : arguments.front();
    return keys_tool::runDialogue(console::utf8Path(file), console::nextConsoleKey, std::cout);
  }
  const int status = keys_tool::runKeys(arguments, std::cout, std::cerr);
  console::waitWhenConsoleIsOwn(std::cin, std::cout);
  return status;
}
