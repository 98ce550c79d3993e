// sashcaster-check: shows a player how the plug-in reads their settings file.
#include <iostream>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "console/console.h"
#include "i18n/messages.h"
#include "i18n/system_language.h"

int main(int argc, char** argv) {
  using namespace sashcaster;
  const console::Utf8Output utf8;
  i18n::useLanguage(i18n::systemLanguage());
  const std::vector<std::string> arguments = console::utf8Arguments(argc, argv);
  const int status = check::runCheck(arguments, std::cout, std::cerr);
  console::waitWhenConsoleIsOwn(std::cin, std::cout);
  return status;
}
