// What the tools need from the console they run in: their arguments as UTF-8
// whatever the folder names hold, UTF-8 shown right, whether the console is
// their own (Explorer started them), and the keys pressed on it. Outside
// Windows the arguments are taken as given and the console is never the
// program's own.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace sashcaster::console {

// The arguments after the program's name. Windows hands them over as UTF-16;
// the narrow argv would have lost every letter outside the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// While it lives, what the program writes to std::cout and std::cerr as UTF-8
// is shown as text on a Windows console; output to a file or a pipe is the
// bytes written either way.
class Utf8Output {
 public:
  Utf8Output();
  ~Utf8Output();
  Utf8Output(const Utf8Output&) = delete;
  Utf8Output& operator=(const Utf8Output&) = delete;

 private:
  std::unique_ptr<std::streambuf> out_;
  std::unique_ptr<std::streambuf> err_;
  [[maybe_unused]] std::streambuf* formerOut_ = nullptr;  // used on Windows only
  [[maybe_unused]] std::streambuf* formerErr_ = nullptr;
};

// Started from Explorer, by a double click or a file dropped on it, the
// program has a console of its own, which closes when it ends.
bool consoleIsOwn();

// On a console of its own, asks for Enter before the window closes with the
// answer unread; the end of input ends the wait as well.
void waitWhenConsoleIsOwn(std::istream& in, std::ostream& out);

// The next key pressed on the console, as a virtual-key code in the keyboard
// layout's sense; none when input ends or is no console.
std::optional<std::uint32_t> nextConsoleKey();

}  // namespace sashcaster::console
