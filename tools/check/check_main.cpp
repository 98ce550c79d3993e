// sashcaster-check: shows a player how the plug-in reads their settings file.
#include <iostream>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "console/console.h"

int main(int argc, char** argv) {
  using namespace sashcaster;
  const console::Utf8Output utf8;
  const std::vector<std::string> arguments = console::utf8Arguments(argc, argv);
  const int status = check::runCheck(arguments, std::cout, std::cerr);
  console::waitWhenConsoleIsOwn(std::cin, std::cout);
  return status;
}
