// The settings' number conversion against std::stoi(text, nullptr, 10): the
// same number, or no number where std::stoi throws, for the same reason
// (invalid_argument: no digits; out_of_range: outside the int32 range). The
// conversion itself throws nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

#include "config/decimal_int.h"

namespace {

using sashcaster::DecimalFailure;

struct Result {
  DecimalFailure failure = DecimalFailure::None;
  std::optional<std::int32_t> number;
};

// std::stoi's answer, its exceptions told apart as the conversion's reasons.
Result libraryResult(const std::string& text) {
  Result result;
  try {
    result.number = std::stoi(text, nullptr, 10);
  } catch (const std::invalid_argument&) {
    result.failure = DecimalFailure::NoDigits;
  } catch (const std::out_of_range&) {
    result.failure = DecimalFailure::OutOfRange;
  }
  return result;
}

Result ourResult(const std::string& text) {
  Result result;
  try {
    result.number = sashcaster::parseDecimalInt32(text);
    result.failure = sashcaster::decimalFailureOf(text);
  } catch (...) {
    std::fprintf(stderr, "the conversion threw for \"%s\"\n", text.c_str());
    std::abort();
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
  const Result ours = ourResult(text);
  const Result library = libraryResult(text);
  require(ours.failure == library.failure, "reasons differ", text);
  require(ours.number == library.number, "numbers differ", text);
  return 0;
}
