#include "console/console.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#endif

namespace sashcaster::console {

#ifdef _WIN32

namespace {

std::string utf8Of(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) {
    return {};
  }
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();  // the terminating zero
  return out;
}

bool isConsole(DWORD stream) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

std::vector<std::string> utf8Arguments(int /*argc*/, char** /*argv*/) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    arguments.push_back(utf8Of(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

Utf8Output::Utf8Output() {
  if (isConsole(STD_OUTPUT_HANDLE) || isConsole(STD_ERROR_HANDLE)) {
    formerCodePage_ = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
  }
}

Utf8Output::~Utf8Output() {
  // The console may outlive the program, in the window of the shell that ran it.
  if (formerCodePage_ != 0) {
    SetConsoleOutputCP(formerCodePage_);
  }
}

bool consoleIsOwn() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

std::optional<std::uint32_t> nextConsoleKey() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  INPUT_RECORD record{};
  DWORD read = 0;
  while (ReadConsoleInputW(input, &record, 1, &read) != 0 && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown != 0) {
      return record.Event.KeyEvent.wVirtualKeyCode;
    }
  }
  return std::nullopt;
}

#else

std::vector<std::string> utf8Arguments(int argc, char** argv) {
  return {argv + 1, argv + argc};
}

Utf8Output::Utf8Output() = default;
Utf8Output::~Utf8Output() = default;

bool consoleIsOwn() {
  return false;
}

std::optional<std::uint32_t> nextConsoleKey() {
  return std::nullopt;
}

#endif

void waitWhenConsoleIsOwn(std::istream& in, std::ostream& out) {
  if (consoleIsOwn()) {
    out << "Press Enter to close this window." << std::endl;
    std::string ignored;
    std::getline(in, ignored);
  }
}

}  // namespace sashcaster::console
