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
    // One hash and one search for a name, whether it is new or not; the name
    // is moved into the index only when it is new.
    const auto [found, added] = index.try_emplace(std::move(name), entries.size());
    if (!added) {
      return entries[found->second].second;
    }
    // Index and entries stay in step even when the entries cannot grow.
    try {
      entries.emplace_back(found->first, V{});
    } catch (...) {
      index.erase(found);
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
