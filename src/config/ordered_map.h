// Named values kept in the order of their first insertion and found by name
// through a hash index. Names are trimmed and compared byte for byte.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "config/ini_text.h"

namespace sashcaster {

template <typename V>
class OrderedMap {
 public:
  // Position in `entries` of every name, and nothing else.
  std::unordered_map<std::string, std::size_t> index;
  // Pairs in insertion order; only appended, or all removed by clear.
  std::vector<std::pair<std::string, V>> entries;

  // The value under the trimmed name, appended with an empty value when absent.
  V& operator[](std::string name) {
    trimWhitespace(name);
    const auto found = index.find(name);
    if (found != index.end()) {
      return entries[found->second].second;
    }
    const std::size_t position = entries.size();
    entries.emplace_back(name, V{});
    // Index and entries stay in step even when the index cannot grow.
    try {
      index.emplace(std::move(name), position);
    } catch (...) {
      entries.pop_back();
      throw;
    }
    return entries.back().second;
  }

  // A copy of the value under the trimmed name, or an empty value; never inserts.
  V getCopy(std::string name) const {
    trimWhitespace(name);
    const auto found = index.find(name);
    if (found == index.end()) {
      return V{};
    }
    return entries[found->second].second;
  }

  std::size_t size() const { return entries.size(); }

  void clear() {
    entries.clear();
    index.clear();
  }
};

}  // namespace sashcaster
