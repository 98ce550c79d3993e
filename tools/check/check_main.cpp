// sashcaster-check: shows a player how the plug-in reads their settings file.
#include <iostream>
#include <string>
#include <vector>

#include "check/check_command.h"

#ifdef _WIN32
#include <windows.h>

namespace {

// Started from Explorer, by a double click or a file dropped on it, the
// program has a console of its own that would close with the answer unread.
// Reading standard input lets the end of input end the wait as well.
void waitWhenConsoleIsOurs() {
  DWORD processes[2] = {};
  if (GetConsoleProcessList(processes, 2) == 1) {
    std::cout << "Press Enter to close this window." << std::endl;
    std::string ignored;
    std::getline(std::cin, ignored);
  }
}

}  // namespace
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const int status = sashcaster::check::runCheck(arguments, std::cout, std::cerr);
#ifdef _WIN32
  waitWhenConsoleIsOurs();
#endif
  return status;
}
