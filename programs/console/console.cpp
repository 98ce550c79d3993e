#include "console/console.h"

#include <iostream>
#include <string_view>

#include "i18n/messages.h"

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

// The C runtime hands a console the bytes in its ANSI code page, whatever
// SetConsoleOutputCP says, so UTF-8 goes out as UTF-16 through WriteConsoleW.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ConsoleBuffer(const ConsoleBuffer&) = delete;
  ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;
  ~ConsoleBuffer() override { writeWhole(); }

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      pending_.push_back(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }

  int sync() override {
    writeWhole();
    return 0;
  }

 private:
  // Writes the characters received whole; the first bytes of one cut at a
  // flush wait for the rest.
  void writeWhole() {
    std::size_t whole = pending_.size();
    std::size_t back = 0;
    while (back < 3 && back < whole &&
           (static_cast<unsigned char>(pending_[whole - 1 - back]) & 0xC0U) == 0x80U) {
      ++back;
    }
    if (back < whole && static_cast<unsigned char>(pending_[whole - 1 - back]) >= 0xC0U) {
      whole -= back + 1;
    }
    const std::wstring wide = utf16Of(std::string_view(pending_).substr(0, whole));
    DWORD written = 0;
    WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    pending_.erase(0, whole);
  }

  static std::wstring utf16Of(std::string_view text) {
    if (text.empty()) {
      return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
  }

  HANDLE console_;
  std::string pending_;
};

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
  if (isConsole(STD_OUTPUT_HANDLE)) {
    std::cout.flush();
    out_ = std::make_unique<ConsoleBuffer>(GetStdHandle(STD_OUTPUT_HANDLE));
    formerOut_ = std::cout.rdbuf(out_.get());
  }
  if (isConsole(STD_ERROR_HANDLE)) {
    err_ = std::make_unique<ConsoleBuffer>(GetStdHandle(STD_ERROR_HANDLE));
    formerErr_ = std::cerr.rdbuf(err_.get());
  }
}

Utf8Output::~Utf8Output() {
  if (out_) {
    std::cout.flush();
    std::cout.rdbuf(formerOut_);
  }
  if (err_) {
    std::cerr.flush();
    std::cerr.rdbuf(formerErr_);
  }
}

bool consoleIsOwn() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

std::optional<std::uint32_t> nextConsoleKey() {
  // A key held down repeats its key-down events; only the first one of each
  // press counts, or one long press would answer the next question too.
  static std::uint32_t held = 0;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  INPUT_RECORD record{};
  DWORD read = 0;
  while (ReadConsoleInputW(input, &record, 1, &read) != 0 && read == 1) {
    if (record.EventType != KEY_EVENT) {
      continue;
    }
    const std::uint32_t code = record.Event.KeyEvent.wVirtualKeyCode;
    if (record.Event.KeyEvent.bKeyDown == 0) {
      held = code == held ? 0 : held;
    } else if (code != held) {
      held = code;
      return code;
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
    out << i18n::say("common.press_enter_to_close", {{"enter", i18n::say("key.enter")}})
        << std::endl;
    std::string ignored;
    std::getline(in, ignored);
  }
}

}  // namespace sashcaster::console
