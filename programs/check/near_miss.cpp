#include "check/near_miss.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <vector>

namespace sashcaster::check {

namespace {

constexpr std::size_t mostSlips = 2;

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t change = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
      row[j] = std::min({change, above + 1, row[j - 1] + 1});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

bool isNearMiss(std::string_view written, std::string_view wanted) {
  if (written == wanted) {
    return false;
  }
  const std::size_t longer = std::max(written.size(), wanted.size());
  const std::size_t shorter = std::min(written.size(), wanted.size());
  // Cheap bound first: lines may be long.
  return longer - shorter <= mostSlips && editDistance(written, wanted) <= mostSlips;
}

}  // namespace sashcaster::check
