// The settings' number conversion against std::stoi(text, nullptr, 10): the
// same number, or an exception of the same type. The messages are this
// system's own (libstdc++'s say only "stoi"), so they are checked as written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "config/decimal_int.h"

namespace {

enum class Outcome { Number, InvalidArgument, OutOfRange };

struct Result {
  Outcome outcome = Outcome::Number;
  std::int64_t number = 0;
  std::string message;
};

template <typename Convert>
Result run(Convert convert) {
  Result result;
  try {
    result.number = convert();
  } catch (const std::invalid_argument& error) {
    result.outcome = Outcome::InvalidArgument;
    result.message = error.what();
  } catch (const std::out_of_range& error) {
    result.outcome = Outcome::OutOfRange;
    result.message = error.what();
  }
  return result;
}

void require(bool condition, const char* what, const std::string& text) {
  if (!condition) {
    std::fprintf(stderr, "%s for \"%s\"\n", what, text.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Result ours = run([&text] { return sashcaster::parseDecimalInt32(text); });
  const Result library = run([&text] { return std::stoi(text, nullptr, 10); });
  require(ours.outcome == library.outcome, "outcomes differ", text);
  require(ours.number == library.number, "numbers differ", text);
  if (ours.outcome == Outcome::InvalidArgument) {
    require(ours.message == "invalid stoi argument", "message", text);
  }
  if (ours.outcome == Outcome::OutOfRange) {
    require(ours.message == "stoi argument out of range", "message", text);
  }
  return 0;
}
