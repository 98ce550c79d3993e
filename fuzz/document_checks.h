// Checks of a parsed settings document against the independent model of the
// file's rules in ini_model.h, shared by the fuzz targets that read one.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>

#include "config/ini_file.h"
#include "fuzz/ini_model.h"
#include "fuzz/require.h"

namespace sashcaster::fuzz {

template <typename Value>
void requireSoundIndex(const OrderedMap<Value>& map) {
  require(map.index.size() == map.entries.size(), "index and entries differ in size");
  std::set<std::string> seen;
  for (std::size_t position = 0; position < map.entries.size(); ++position) {
    const std::string& name = map.entries[position].first;
    require(name == model::trimmed(name), "a stored name is not trimmed");
    require(seen.insert(name).second, "a name is stored twice");
    const auto found = map.index.find(name);
    require(found != map.index.end() && found->second == position, "index points elsewhere");
  }
}

// Same names in the same order with the same values, and sound indexes.
inline void requireSameDocument(const IniStructure& document, const model::Document& model) {
  requireSoundIndex(document);
  require(document.entries.size() == model.size(), "number of sections");
  for (std::size_t s = 0; s < model.size(); ++s) {
    const auto& [name, section] = document.entries[s];
    require(name == model[s].first, "section name or order");
    requireSoundIndex(section);
    require(section.entries.size() == model[s].second.size(), "number of keys");
    for (std::size_t k = 0; k < section.entries.size(); ++k) {
      require(section.entries[k] == model[s].second[k], "key, order or value");
    }
  }
}

inline std::size_t totalKeys(const IniStructure& document) {
  std::size_t keys = 0;
  for (const auto& entry : document.entries) {
    keys += entry.second.size();
  }
  return keys;
}

// Lookups of present and absent names, padded and not, change nothing.
inline void requireLookupsInsertNothing(const IniStructure& document) {
  const std::size_t sections = document.size();
  const std::size_t keys = totalKeys(document);
  std::set<std::string> names = {"Sashcaster", " Sashcaster\t", "", "absent", "iXKey"};
  for (const auto& entry : document.entries) {
    names.insert(entry.first);
    names.insert(" " + entry.first + "\r");
  }
  for (const std::string& name : names) {
    const IniSection section = document.getCopy(name);
    static_cast<void>(section.getCopy("iXKey"));
    static_cast<void>(section.getCopy(" absent "));
  }
  require(document.size() == sections && totalKeys(document) == keys, "getCopy inserted");
}

// What std::stoi(text, nullptr, 10) gives for the key's value in the model,
// or the old field when the key is missing or std::stoi would throw. Asked of
// std::strtol, which std::stoi is made of, so that the model throws nothing
// either and every input costs no exception.
inline std::uint32_t expectedField(const model::Document& model, const char* key,
                                   std::uint32_t old) {
  const std::string* text = model::find(model, "Sashcaster", key);
  if (text == nullptr) {
    return old;
  }
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text->c_str(), &end, 10);
  if (end == text->c_str() || errno == ERANGE ||
      number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    return old;
  }
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(number));
}

}  // namespace sashcaster::fuzz
